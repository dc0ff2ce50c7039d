#pragma once

// Whether a test runs under wine rather than on Windows itself (or on Linux),
// for the few tests that need something wine does not give a program.

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

inline bool runningUnderWine()
{
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

/// Why the tests that read a PDF back are skipped under wine.
inline constexpr char kNoPdfReader[] =
    "pdftotext, which reads the PDF back, is a Linux program; wine starts it but gives its output to no pipe";

/// Ends the test as skipped under wine, saying why.
#define SKIP_UNDER_WINE(reason)                                                                   \
    do {                                                                                          \
        if (runningUnderWine())                                                                   \
            GTEST_SKIP() << "skipped under wine: " << (reason);                                   \
    } while (false)
