#include "apply/failed_writes.h"

#include "prompts/messages.h"

#include <algorithm>

std::wstring FailureReason(LONG error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return L"access denied";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return L"not found";
    case ERROR_BAD_PATHNAME:
        return L"not a registry location";
    case ERROR_KEY_DELETED:
        return L"key deleted meanwhile";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
        return L"out of memory";
    case ERROR_DISK_FULL:
        return L"disk full";
    case ERROR_WRITE_PROTECT:
        return L"write-protected";
    case ERROR_BADDB:
    case ERROR_BADKEY:
    case ERROR_REGISTRY_CORRUPT:
    case ERROR_REGISTRY_IO_FAILED:
        return L"registry damaged";
    default:
        return L"error " + std::to_wstring(error);
    }
}

// The setting or item whose write failed; the registry location for writes outside Apply's own.
std::wstring FailureName(const Registry::FailedWrite& f) {
    if (!f.subject.empty()) return f.subject;
    return f.name.empty() ? f.path : f.path + L"\\" + f.name;
}

std::vector<std::wstring> FailureLines(const std::vector<Registry::FailedWrite>& failures) {
    std::vector<std::wstring> lines;
    for (const Registry::FailedWrite& f : failures) {
        std::wstring line = FailureName(f) + L": " + FailureReason(f.error);
        if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(std::move(line));
    }
    return lines;
}

void ReportFailedWrites(PromptPort& prompts, const std::vector<Registry::FailedWrite>& failures) {
    if (!failures.empty()) Messages::ShowFailedWrites(prompts, FailureLines(failures));
}
