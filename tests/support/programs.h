#pragma once
// Runs a program of the build as a process of its own, for what only a process start shows.
#include "platform/unique_handle.h"

#include <string>

// Runs the command line and waits for the program to end; false when it could not start or had not ended
// within `ms` milliseconds (it is then ended).
inline bool RunAndWait(std::wstring commandLine, DWORD ms = 60000) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    UniqueKernelHandle thread(process.hThread), child(process.hProcess);
    const bool ended = WaitForSingleObject(child.get(), ms) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(child.get(), 1);
    return ended;
}
