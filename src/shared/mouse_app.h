/* The running mouse application. */
#ifndef MOUSE_APP_H
#define MOUSE_APP_H

/* Sends WM_CLOSE to the running mouse application, if there is one. */
void CloseMouseApp(void);

#endif
