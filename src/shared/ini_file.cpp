#include <windows.h>
#include "ini_file.h"

static char NoText[1];

int ReadIniFile(const char *path, ProfileText *t)
{
    t->text = NoText;
    t->length = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    DWORD size = GetFileSize(file, 0), got = 0;
    char *text = size == INVALID_FILE_SIZE ? 0 : (char *)GlobalAlloc(GMEM_FIXED, size + 1);
    int read = text && ReadFile(file, text, size, &got, 0) && got == size;
    /* the file was only read: a close that fails cannot have lost anything */
    CloseHandle(file);
    if (!read) {
        if (text)
            GlobalFree(text);
        return 0;
    }
    text[size] = 0;
    t->text = text;
    t->length = (int)size;
    return 1;
}

void FreeIniFile(ProfileText *t)
{
    if (t->text != NoText)
        GlobalFree((HGLOBAL)t->text);
    t->text = NoText;
    t->length = 0;
}

void FlushProfileCache(const char *path)
{
    WritePrivateProfileStringA(0, 0, 0, 0);
    WritePrivateProfileStringA(0, 0, 0, path);
}

void NoIniText(ProfileText *t)
{
    t->text = NoText;
    t->length = 0;
}
