/* The copy: the script's directories below the destination, every file of the file
   table disk by disk, each tried again for as long as the user asks, and the
   registration after it. It knows no window: the observer of the run (run_observer.h)
   is told what happens, answers the questions and says whether Cancel was pressed. */
#ifndef COPY_ENGINE_H
#define COPY_ENGINE_H

/* 1 when every file is in place and registered. 0 after a Cancel (at a question, or
   the Cancel button: nothing is noted) or a failure that nobody was asked about (noted,
   failure_note.h). The files copied stay; the registration runs after a Cancel too,
   when the destination holds the uninstaller and its script. */
int CopyPackage(void);

#endif
