// Asks for the accessible names of windows from another process, as a screen
// reader does: msaa_names OUT.txt HWND... writes one name a line, UTF-16.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring names;
    for (int i = 2; i < argc; ++i) {
        const auto hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(argv[i], nullptr, 10)));
        IAccessible* accessible = nullptr;
        BSTR name = nullptr;
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        // __uuidof rather than mingw-w64's IID_IAccessible, whose value is wrong.
        if (SUCCEEDED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&accessible)))) {
            if (accessible->get_accName(self, &name) == S_OK && name) names += name;
            if (name) SysFreeString(name);
            accessible->Release();
        }
        names += L'\n';
    }
    FILE* out = _wfopen(argv[1], L"wb");
    if (!out) return 1;
    std::fwrite(names.data(), sizeof(wchar_t), names.size(), out);
    std::fclose(out);
    CoUninitialize();
    return 0;
}
