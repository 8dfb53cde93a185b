/* The mouse application: its window, and the start-up command that runs it. */
#ifndef MOUSE_APP_H
#define MOUSE_APP_H

/* Sends WM_CLOSE to the running mouse application, if there is one. */
void CloseMouseApp(void);

/* The program of a start-up or uninstall command: the first word of
   "DIR\KXMAIN.EXE" -startup, or DIR\KXMAIN.EXE -startup without its argument, in
   program (size bytes); 0 and an empty text when it does not fit whole or its quote
   is not closed. */
int ProgramOfCommand(const char *command, char *program, int size);

/* The directory of a command's program, when the program is name ("KXMAIN.EXE", any
   case) in a directory: 1 and the directory in dir (size bytes), else 0. */
int DirectoryOfCommand(const char *command, const char *name, char *dir, int size);

#endif
