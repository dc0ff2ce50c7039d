#include "app/WindowsConsole.h"

#include <QString>

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

namespace windows {

namespace {

UINT g_consoleOutputCodePage = 0;

void restoreConsoleCodePage()
{
    if (g_consoleOutputCodePage != 0)
        SetConsoleOutputCP(g_consoleOutputCodePage);
}

// A standard handle that leads to a file, pipe or console already.
bool leadsSomewhere(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE
        && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Whether a C stream writes to a console (rather than a file or pipe).
bool isConsole(FILE *stream)
{
    const intptr_t handle = _get_osfhandle(_fileno(stream));
    DWORD mode = 0;
    return handle != -1 && GetConsoleMode(reinterpret_cast<HANDLE>(handle), &mode) != 0;
}

} // namespace

std::vector<std::string> utf8Arguments()
{
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    if (!wide)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(QString::fromWCharArray(wide[i]).toStdString());
    LocalFree(wide);
    return arguments;
}

void useParentConsole()
{
    const bool outHere = leadsSomewhere(STD_OUTPUT_HANDLE);
    const bool errHere = leadsSomewhere(STD_ERROR_HANDLE);
    if ((!outHere || !errHere) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!outHere && std::freopen("CONOUT$", "w", stdout))
            std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
        if (!errHere && std::freopen("CONOUT$", "w", stderr))
            std::setvbuf(stderr, nullptr, _IONBF, 0);
    }
    if (isConsole(stdout) || isConsole(stderr)) {
        const UINT before = GetConsoleOutputCP();
        if (before != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
            g_consoleOutputCodePage = before;
            std::atexit(restoreConsoleCodePage);
        }
    }
}

void useBinaryStandardStreams()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

} // namespace windows
