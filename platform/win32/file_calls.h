#pragma once
// The file-system calls of the text-file service, one method for each Win32 call it makes.
// Each method is the real call; a test derives from this to make one call fail with a chosen
// error, or to stop the work after it, while every other call stays the real one.

#include <windows.h>

namespace lumarel::win32 {

class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual HANDLE Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition);
    virtual BOOL Write(HANDLE file, const void* data, DWORD size, DWORD* written);
    virtual BOOL Flush(HANDLE file);
    virtual BOOL Read(HANDLE file, void* buffer, DWORD size, DWORD* read);
    virtual BOOL Size(HANDLE file, LARGE_INTEGER* size);
    virtual BOOL Replace(const wchar_t* replaced, const wchar_t* replacement);
    virtual BOOL Move(const wchar_t* from, const wchar_t* to, DWORD flags);
    virtual BOOL Delete(const wchar_t* path);
    virtual BOOL Attributes(const wchar_t* path, WIN32_FILE_ATTRIBUTE_DATA* data);
};

// The real calls, for the real program.
FileCalls& SystemFileCalls();

}  // namespace lumarel::win32
