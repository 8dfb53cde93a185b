/* The wizard pages' window procedures and the directory browser. */
#ifndef PAGES_H
#define PAGES_H

#include <windows.h>

LRESULT CALLBACK WelcomePageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseTypePageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DestinationPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FinishPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

/* The platform's old-style directory picker; OK puts its edit field into InstallDir. */
void BrowseForDirectory(HWND owner);
UINT_PTR CALLBACK BrowseHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
