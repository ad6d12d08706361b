// vt5150-exit-code: runs one Windows program and ends with that program's exit
// code. Wine 8.0 often crashes while tearing down a process that has had MIDI
// devices open, after the program itself has already set its exit code, and
// Wine then reports the crash instead. This parent opens no MIDI device: it
// starts the program with the rest of its own command line, waits for it,
// prints "exit code: N" and exits with N (127 when the program cannot start).

#include <windows.h>

#include <cstdio>

int main()
{
    // The child's command line follows this program's own name, which may be quoted.
    auto* commandLine = GetCommandLineW();

    for (auto quoted = false; *commandLine != 0 && (quoted || (*commandLine != L' ' && *commandLine != L'\t'));
         ++commandLine)
        if (*commandLine == L'"')
            quoted = ! quoted;

    while (*commandLine == L' ' || *commandLine == L'\t')
        ++commandLine;

    STARTUPINFOW startup {};
    startup.cb = sizeof (startup);
    PROCESS_INFORMATION child {};
    DWORD exitCode = 127;

    if (! CreateProcessW (nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
    {
        std::fprintf (stderr, "vt5150-exit-code: cannot start \"%ls\" (error %lu)\n", commandLine, GetLastError());
        return (int) exitCode;
    }

    WaitForSingleObject (child.hProcess, INFINITE);
    GetExitCodeProcess (child.hProcess, &exitCode);
    CloseHandle (child.hThread);
    CloseHandle (child.hProcess);
    std::printf ("exit code: %lu\n", exitCode);
    std::fflush (stdout);
    return (int) exitCode;
}
