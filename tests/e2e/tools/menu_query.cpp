// ui_driver's half of the menu query; see menu_query.h.
#include "tests/e2e/tools/menu_query.h"

#include <tlhelp32.h>

namespace {

// The probe is linked at a fixed base below 4 GiB, so LoadLibraryW's exit code
// (a DWORD) is its whole module address in the program's process when the
// loader could put it there.
bool RemoteCall(HANDLE process, LPTHREAD_START_ROUTINE fn, void* arg, DWORD* result) {
    HANDLE t = CreateRemoteThread(process, nullptr, 0, fn, arg, 0, nullptr);
    if (!t) return false;
    bool ok = WaitForSingleObject(t, 10000) == WAIT_OBJECT_0 && GetExitCodeThread(t, result);
    CloseHandle(t);
    return ok;
}

// Where the probe actually sits in the program: its preferred base may be
// taken there (the program maps OpenGL libraries too), and then the loader
// moves it; the probe function lies at the same offset from the base.
ULONG_PTR RemoteBase(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    ULONG_PTR base = 0;
    for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module))
        if (lstrcmpiW(module.szModule, L"menu_probe.dll") == 0) {
            base = reinterpret_cast<ULONG_PTR>(module.modBaseAddr);
            break;
        }
    CloseHandle(snapshot);
    return base;
}

}  // namespace

bool RunMenuQuery(HWND window, int id, MenuAnswer* answer, std::wstring* error) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    while (n && path[n - 1] != L'\\' && path[n - 1] != L'/') --n;
    path[n] = 0;
    std::wstring dll = std::wstring(path) + L"menu_probe.dll";
    HMODULE local = LoadLibraryW(dll.c_str());
    if (!local) {
        *error = L"cannot load " + dll;
        return false;
    }
    FARPROC probe = GetProcAddress(local, "MenuProbe");
    FARPROC load = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW");
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    if (!process || !probe || !load) {
        *error = L"cannot open the program's process";
        return false;
    }
    size_t pathBytes = (dll.size() + 1) * sizeof(wchar_t);
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, 4096 + pathBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    MenuRequest request = {};
    request.window = reinterpret_cast<ULONG_PTR>(window);
    request.id = id;
    DWORD base = 0, ignored = 0;
    bool ok = remote && WriteProcessMemory(process, remote + 4096, dll.c_str(), pathBytes, nullptr) &&
              RemoteCall(process, reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(load)),
                         remote + 4096, &base);
    if (ok && base != DWORD(reinterpret_cast<ULONG_PTR>(local))) {
        ULONG_PTR remoteBase = RemoteBase(pid);
        if (remoteBase) {
            probe = reinterpret_cast<FARPROC>(remoteBase + (reinterpret_cast<ULONG_PTR>(probe) -
                                                            reinterpret_cast<ULONG_PTR>(local)));
        } else {
            *error = L"menu_probe.dll landed at another address in the program";
            ok = false;
        }
    } else if (!ok) {
        *error = L"cannot load menu_probe.dll into the program";
    }
    if (ok) {
        ok = WriteProcessMemory(process, remote, &request, sizeof request, nullptr) &&
             RemoteCall(process, reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(probe)), remote,
                        &ignored) &&
             ReadProcessMemory(process, remote, &request, sizeof request, nullptr) && request.done;
        if (!ok) *error = L"the menu probe did not run in the program";
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (ok) *answer = request.answer;
    return ok;
}
