#include <windows.h>

#include "platform/memory.h"

namespace {

// Large pages need the right to lock pages in memory, granted to the account
// and switched on in the process token; false when it is not granted.
bool enable_lock_memory_right() {
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // AdjustTokenPrivileges succeeds with ERROR_NOT_ALL_ASSIGNED when the right is not granted.
    bool enabled = LookupPrivilegeValueA(nullptr, "SeLockMemoryPrivilege", &privileges.Privileges[0].Luid) &&
                   AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                   GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return enabled;
}

}  // namespace

void* allocate_large_zeroed(size_t bytes) {
    if (bytes == 0) return nullptr;
    static const size_t large_page = GetLargePageMinimum();
    static const bool large_pages_allowed = large_page > 0 && enable_lock_memory_right();
    if (large_pages_allowed) {
        const size_t rounded = (bytes + large_page - 1) / large_page * large_page;
        void* block = VirtualAlloc(nullptr, rounded, MEM_RESERVE | MEM_COMMIT | MEM_LARGE_PAGES, PAGE_READWRITE);
        if (block) return block;
    }
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void free_large(void* block, size_t) {
    if (block) VirtualFree(block, 0, MEM_RELEASE);
}
