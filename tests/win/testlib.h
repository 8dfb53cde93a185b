// Helpers for the Windows-side tests: setup scripts beside the program or in a
// scratch directory, registry keys, saved files, import patches, and running
// SETUP.EXE with its message boxes read from outside.
#ifndef TESTLIB_H
#define TESTLIB_H

#include <windows.h>
#include <string>
#include <vector>
#include "controller/setup_state.h"

// Directory of the running test program, without trailing backslash.
std::string ProgramDir();

// Writes text as SETUP.INF into dir (beside the test program when dir is empty).
void WriteSetupInf(const std::string &text, const std::string &dir = "");
void RemoveSetupInf(const std::string &dir = "");

// A scratch directory under C:\t, removed with its files when the object goes.
class ScratchDir {
public:
    explicit ScratchDir(const char *name);
    ~ScratchDir();
    const std::string &Path() const { return path_; }
private:
    std::string path_;
};
void RemoveTree(const std::string &path);

// Registry helpers; keys are created non-volatile.
void SetRegText(HKEY root, const std::string &key, const char *name, const std::string &value);
std::string GetRegText(HKEY root, const std::string &key, const char *name);
void DeleteRegTree(HKEY root, const std::string &key);

// Keeps a file's content (or its absence) and puts it back when the object goes.
class SavedFile {
public:
    explicit SavedFile(const std::string &path);
    ~SavedFile();
private:
    std::string path_, content_;
    bool existed_;
};
std::string ReadWholeFile(const std::string &path);
void WriteWholeFile(const std::string &path, const std::string &content);

// Back to the start values, as a fresh process has them, with the file table freed.
void ResetSetupState();

// Replaces one imported function of the test program while the object lives.
class ImportPatch {
public:
    ImportPatch(const char *dll, const char *function, void *replacement);
    ~ImportPatch();
    bool Applied() const { return slot_ != 0; }
private:
    void **slot_;
    void *original_;
};

// Message boxes shown through the patched MessageBoxA: every call is logged and
// answered with `answer`.
struct MessageBoxCall {
    HWND owner;
    std::string text, caption;
    UINT style;
};
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    const std::vector<MessageBoxCall> &Calls() const;
private:
    ImportPatch patch_;
};

// SETUP.EXE as built, copied into dir under name; run with args. Every message box it
// shows is read (text and caption) and answered with OK. Returns the exit code, or
// -1 when it had not ended within timeoutMs.
struct SetupRun {
    DWORD exitCode = (DWORD)-1;
    std::vector<MessageBoxCall> boxes;
};
std::string BuiltSetupExe();
SetupRun RunSetupExe(const std::string &dir, const char *name, const char *args,
                     DWORD timeoutMs = 20000);

#endif
