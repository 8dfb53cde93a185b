/* Reading a command line: the programs' own tails, the options of the unattended run,
   and the commands the registry holds. One rule everywhere: blanks and tabs separate
   words; double quotes group blanks into a word and are removed; a backslash is an
   ordinary character, so that a quoted path may end in one ("C:\A B\"). */
#ifndef COMMAND_LINE_H
#define COMMAND_LINE_H

/* The text after the blanks and tabs at p. */
const char *SkipCommandBlanks(const char *p);

/* The word at p (p at its first character) into word, size bytes; with word 0 it is
   only passed over. The text right after the word; 0 when a quote is not closed or the
   word does not fit whole. */
const char *CommandWord(const char *p, char *word, int size);

/* 1 when the tail selects an unattended run: "-s" alone or followed by a blank. */
int IsSilentCommand(const char *tail);

#endif
