// vt5150-exit-code: runs one Windows program and ends with that program's exit
// code. Wine 8.0 often crashes while tearing down a process that has had MIDI
// devices open, after the program itself has already set its exit code, and
// Wine then reports the crash instead. This parent opens no MIDI device: it
// starts the program with the rest of its own command line, waits for it,
// prints "exit code: N" and exits with N (127 when the program cannot start).

#include <windows.h>

#include <cstdio>

namespace
{
constexpr DWORD cannotStart = 127;

/** The command line after this program's own name, which may be quoted. */
wchar_t* skipOwnName (wchar_t* commandLine)
{
    auto* position = commandLine;
    auto quoted = false;

    for (; *position != 0 && (quoted || (*position != L' ' && *position != L'\t')); ++position)
        if (*position == L'"')
            quoted = ! quoted;

    while (*position == L' ' || *position == L'\t')
        ++position;

    return position;
}
} // namespace

int main()
{
    auto* childCommandLine = skipOwnName (GetCommandLineW());

    if (*childCommandLine == 0)
    {
        std::fputs ("Usage: vt5150-exit-code <program> [arguments...]\n", stderr);
        return (int) cannotStart;
    }

    STARTUPINFOW startup {};
    startup.cb = sizeof (startup);
    PROCESS_INFORMATION child {};

    if (! CreateProcessW (nullptr, childCommandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
    {
        std::fprintf (stderr, "vt5150-exit-code: cannot start the program (error %lu)\n", GetLastError());
        return (int) cannotStart;
    }

    DWORD exitCode = cannotStart;
    WaitForSingleObject (child.hProcess, INFINITE);
    GetExitCodeProcess (child.hProcess, &exitCode);
    CloseHandle (child.hThread);
    CloseHandle (child.hProcess);

    std::printf ("exit code: %lu\n", exitCode);
    std::fflush (stdout);
    return (int) exitCode;
}
