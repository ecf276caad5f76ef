// The profile file contract on hosts without Windows (the unit tests, the
// benches): plain files, a new file renamed over the old one, a lock shared by
// the threads of this process (the host build runs one process at a time), and
// Windows-1252 as the ANSI code page.
#pragma once

#include "platform/ProfileFile.h"
#include "platform/TextCodec.h"

namespace lumivane {

class HostProfileFile : public ProfileFile {
public:
    ProfileText Read(const std::string& path) override;
    bool Replace(const std::string& path, const std::string& text, ProfileForm form) override;
    std::unique_ptr<ProfileLock> Lock(const std::string& path, unsigned milliseconds) override;

private:
    Windows1252Codec codec_;
};

} // namespace lumivane
