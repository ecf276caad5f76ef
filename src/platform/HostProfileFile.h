// The profile file contract on hosts without Windows (the unit tests, the
// benches): plain files, a new file renamed over the old one, and a lock shared
// by the threads of this process (the host build runs one process at a time).
#pragma once

#include "platform/ProfileFile.h"

namespace lumivane {

class HostProfileFile : public ProfileFile {
public:
    ProfileBytes Read(const std::string& path) override;
    bool Replace(const std::string& path, const std::string& bytes) override;
    std::unique_ptr<ProfileLock> Lock(const std::string& path) override;
};

} // namespace lumivane
