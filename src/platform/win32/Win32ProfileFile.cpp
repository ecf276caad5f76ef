// The profile file contract over the file API (see Win32ProfileFile.h).
#include "platform/win32/Win32ProfileFile.h"

#include <cstdint>

#include "common/IntegerText.h"
#include "common/PathText.h"
#include "platform/ProfileDocument.h"
#include "platform/win32/AnsweringWait.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace lumivane::win32 {

namespace {

// How long a rename onto the file is tried again while another program holds the
// file without delete sharing: scanners, backup tools and sync clients open a
// file that has just changed for moments at a time.
constexpr DWORD kRenameRetryMs = 2000;
constexpr DWORD kRenameRetryStepMs = 50;

class MutexLock : public ProfileLock {
public:
    MutexLock(KernelHandle mutex, DWORD milliseconds) : mutex_(std::move(mutex)) {
        if (!mutex_)
            return; // no lock to be had: nothing is touched unlocked
        const DWORD wait = WaitAnswering(mutex_.Get(), milliseconds);
        // An abandoned mutex is owned all the same: its holder ended, and the file
        // it may have been writing is whole anyway, as every write is a rename.
        owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED_0;
    }
    ~MutexLock() override {
        if (owned_)
            ReleaseMutex(mutex_.Get());
    }
    bool Held() const override { return owned_; }

private:
    KernelHandle mutex_;
    bool owned_ = false;
};

// One name for every spelling of a folder ("d:\savers\" and "D:\Savers\"): its
// path upper-cased as the file system compares names, hashed to keep the name
// short and free of backslashes. Both windows take the path from the running
// program file, so the spellings differ at most in case.
std::string MutexName(const std::string& path) {
    std::u16string folder = Utf8ToUtf16(ExtractFilePath(path));
    CharUpperBuffW(reinterpret_cast<wchar_t*>(folder.data()), static_cast<DWORD>(folder.size()));
    std::uint64_t hash = 14695981039346656037ull;
    for (char16_t c : folder)
        hash = (hash ^ c) * 1099511628211ull;
    return "Lumivane.ini-" + HexDigits(hash, 16);
}

// Only a file or folder that is not there is no file; any other failure (a
// network path gone, a drive not ready, access denied) is a read that failed.
ProfileRead FailedRead(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ProfileRead::Missing
                                                                          : ProfileRead::Unreadable;
}

// Puts the draft in the file's place, waiting out a program that holds the file
// for a moment.
bool RenameOnto(const std::u16string& draft, const std::u16string& path) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (MoveFileExW(W(draft), W(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
            GetTickCount64() - start >= kRenameRetryMs)
            return false;
        WaitAnswering(nullptr, kRenameRetryStepMs);
    }
}

// Whether a process of that id runs now.
bool ProcessRuns(DWORD id) {
    const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED; // another user's, alive
    return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// Removes the drafts "<file>.<process id>-<n>.tmp" that processes ended in the
// middle of a write left beside the file. Writes happen under the folder's lock,
// so a draft is in the making only while its writer runs (one whose wait for the
// lock ran out); ours are never left, so one with our id is an earlier process's.
void RemoveLeftDrafts(const std::string& path) {
    WIN32_FIND_DATAW data;
    const FindHandle find(FindFirstFileW(W(WidePath(path + ".*-*.tmp")), &data));
    if (!find)
        return;
    const std::string folder = ExtractFilePath(path);
    do {
        const std::string name = Narrow(data.cFileName);
        const std::size_t dash = name.rfind('-');
        const std::size_t dot = name.rfind('.', dash);
        DWORD id = 0;
        bool digits = dot != std::string::npos && dot + 1 < dash;
        for (std::size_t i = dot + 1; digits && i < dash; ++i) {
            digits = name[i] >= '0' && name[i] <= '9' && id < 100000000;
            id = id * 10 + static_cast<DWORD>(name[i] - '0');
        }
        if (digits && (id == GetCurrentProcessId() || !ProcessRuns(id)))
            DeleteFileW(W(WidePath(folder + name)));
    } while (FindNextFileW(find.Get(), &data));
}

} // namespace

ProfileText Win32ProfileFile::Read(const std::string& path) {
    const std::u16string wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(W(wide));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {FailedRead(GetLastError()), {}};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return {ProfileRead::Missing, {}};
    FileHandle file(CreateFileW(W(wide), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) // missing when gone between the two calls, removed by another program just now
        return {FailedRead(GetLastError()), {}};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return {ProfileRead::Unreadable, {}};
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            return {ProfileRead::Unreadable, {}};
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return DecodeProfile(bytes, codec_);
}

bool Win32ProfileFile::Replace(const std::string& path, const std::string& text, ProfileForm form) {
    const std::string bytes = EncodeProfile(text, form, codec_);
    RemoveLeftDrafts(path);
    // A name of its own per writer: should the lock ever time out, two writers
    // still never write into one temporary file.
    const std::u16string temp =
        WidePath(path + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++tempSerial_) + ".tmp");
    {
        FileHandle file(CreateFileW(W(temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
        if (!file)
            return false;
        std::size_t done = 0;
        bool ok = true;
        while (ok && done < bytes.size()) {
            DWORD wrote = 0;
            ok = WriteFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote, nullptr) &&
                 wrote > 0;
            done += wrote;
        }
        if (!ok || !FlushFileBuffers(file.Get())) {
            file.Reset();
            DeleteFileW(W(temp));
            return false;
        }
    }
    if (!RenameOnto(temp, WidePath(path))) {
        DeleteFileW(W(temp));
        return false;
    }
    return true;
}

std::unique_ptr<ProfileLock> Win32ProfileFile::Lock(const std::string& path, unsigned milliseconds) {
    return std::make_unique<MutexLock>(KernelHandle(CreateMutexW(nullptr, FALSE, W(Wide(MutexName(path))))),
                                       milliseconds);
}

} // namespace lumivane::win32
