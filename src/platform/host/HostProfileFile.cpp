// Host profile files (see HostProfileFile.h).
#include "platform/host/HostProfileFile.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <unistd.h>

#include "common/PathText.h"
#include "platform/ProfileDocument.h"

namespace lumivane {

namespace {

namespace fs = std::filesystem;

class HostLock : public ProfileLock {
public:
    HostLock(std::timed_mutex& mutex, unsigned milliseconds) : lock_(mutex, std::chrono::milliseconds(milliseconds)) {}
    bool Held() const override { return lock_.owns_lock(); }

private:
    std::unique_lock<std::timed_mutex> lock_;
};

} // namespace

ProfileText HostProfileFile::Read(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return {ProfileRead::Missing, {}};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {ProfileRead::Unreadable, {}};
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return {ProfileRead::Unreadable, {}};
    return DecodeProfile(bytes, codec_);
}

bool HostProfileFile::Replace(const std::string& path, const std::string& text, ProfileForm form) {
    const std::string bytes = EncodeProfile(text, form, codec_);
    static std::atomic<unsigned> counter{0};
    const std::string temp = path + "." + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temp, path, error);
    if (!error)
        return true;
    fs::remove(temp, error);
    return false;
}

std::unique_ptr<ProfileLock> HostProfileFile::Lock(const std::string& path, unsigned milliseconds) {
    static std::mutex guard;
    static std::map<std::string, std::timed_mutex> locks;
    std::timed_mutex* mutex;
    {
        std::lock_guard<std::mutex> lock(guard);
        mutex = &locks[ExtractFilePath(path)];
    }
    return std::make_unique<HostLock>(*mutex, milliseconds);
}

} // namespace lumivane
