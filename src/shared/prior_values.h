/* The record of prior registry values in the installed copy of the setup script. */
#ifndef PRIOR_VALUES_H
#define PRIOR_VALUES_H

/* The key's value in that section of InstallDir's SETUP.INF, or fallback; the text
   lives in a static buffer that the next call overwrites. */
char *ReadInstalledScript(const char *section, const char *key, const char *fallback);

/* Writes the value unless the key already holds a non-empty one: the first wins. */
void RecordPriorValue(const char *section, const char *key, const char *value);

#endif
