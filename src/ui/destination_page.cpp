/* Destination page: shows InstallDir, lets the user browse, and at Next checks the
   path's form, an existing directory, the free space, then creates the directory. */
#include "pages.h"
#include "page_runner.h"
#include "../shared/setup_state.h"
#include "../shared/file_paths.h"
#include "../../resources/resource.h"

int IsExistingDirectory(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

static void ShowDestinationMessage(HWND page, UINT textId)
{
    MessageBoxA(page, ResourceText(textId), SetupState.Caption, MB_OK | MB_ICONEXCLAMATION);
}

/* Free space against MinimumSpace, in 64 bits so that a drive reporting more than
   4 GiB free does not wrap. 1 enough, 0 too little, -1 when the drive gives no figure. */
static int CheckFreeSpace(const char *root)
{
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return -1;
    unsigned long long freeKilobytes =
        ((unsigned long long)sectorsPerCluster * bytesPerSector * freeClusters) >> 10;
    /* MinimumSpace keeps its sign when widened: a negative value asks for ~4 TB. */
    unsigned long long required = (DWORD)(LONG)SetupState.MinimumSpace;
    return freeKilobytes >= required;
}

/* 1 when every file of the package can be copied below dir: the copy opens each
   target through the LZ expansion service, which cannot hold a longer path. */
static int PathsFitBelow(const char *dir)
{
    FileEntry *end = SetupState.DiskFirstEntry[SetupState.DiskCount];
    for (FileEntry *e = SetupState.DiskFirstEntry[0]; e && e < end; e++)
        if (LongestCopyPath(dir, e) > LZ_PATH_LIMIT)
            return 0;
    return 1;
}

static char UpperLetter(char c)
{
    return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}

static void AcceptDestination(HWND page)
{
    char *dir = SetupState.InstallDir;
    SetupState.LastPageResult = PAGE_NEXT;
    GetDlgItemTextA(page, IDC_DIRTEXT, dir, 80);
    char root[4] = { UpperLetter(dir[0]), ':', '\\', 0 };
    /* nothing past an empty text is read; a text longer than the 79 characters kept
       would install into a directory the user did not name */
    if (!dir[0] || dir[1] != ':' || dir[2] != '\\' ||
        GetWindowTextLengthA(GetDlgItem(page, IDC_DIRTEXT)) >= 80 || !PathsFitBelow(dir)) {
        ShowDestinationMessage(page, IDS_CANNOTCREATE);
        return;
    }
    int existed = IsExistingDirectory(dir);
    if (existed && MessageBoxA(page, ResourceText(IDS_DIREXISTS), SetupState.Caption,
                               MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
        return;
    int space = CheckFreeSpace(root);
    if (space < 0) {
        ShowDestinationMessage(page, IDS_CANNOTCREATE);
        return;
    }
    if (!space) {
        ShowDestinationMessage(page, IDS_NOSPACE);
        return;
    }
    if (!existed && !CreateDirectoryA(dir, 0)) {
        ShowDestinationMessage(page, IDS_CANNOTCREATE);
        return;
    }
    SendMessageA(page, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK DestinationPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        PageFrameCreate(page, 0);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAGE_INIT:
        FormatPageText(page, IDC_HEADLINE);
        SetDlgItemTextA(page, IDC_DIRTEXT, SetupState.InstallDir);
        break;
    case WM_COMMAND:
        switch (wParam) {
        case IDC_NEXT:
            AcceptDestination(page);
            return 0;
        case IDC_CANCEL:
            return CancelPage(page);
        case IDC_BACK:
            return ClosePage(page, PAGE_BACK);
        case IDC_BROWSE:
            BrowseForDirectory(page);
            SetDlgItemTextA(page, IDC_DIRTEXT, SetupState.InstallDir);
            break;
        }
        break;
    }
    return DefWindowProcA(page, msg, wParam, lParam);
}
