// In-memory profile file (see FakeProfile.h).
#include "fakes/FakeProfile.h"

namespace lumivane::test {

namespace {

class FakeLock : public ProfileLock {
public:
    explicit FakeLock(int* held) : held_(held) {
        if (held_)
            ++*held_;
    }
    ~FakeLock() override {
        if (held_)
            --*held_;
    }
    bool Held() const override { return held_ != nullptr; }

private:
    int* held_;
};

} // namespace

ProfileText FakeProfile::Read(const std::string& path) {
    ++reads;
    const auto it = files.find(path);
    if (it == files.end())
        return {ProfileRead::Missing, {}};
    if (unreadableReads != 0) {
        if (unreadableReads > 0)
            --unreadableReads;
        return {ProfileRead::Unreadable, {}};
    }
    const auto form = forms.find(path);
    return {ProfileRead::Read, it->second, form == forms.end() ? ProfileForm::Ansi : form->second};
}

bool FakeProfile::Replace(const std::string& path, const std::string& text, ProfileForm form) {
    if (failWrites)
        return false;
    ++writes;
    if (held_ == 0)
        ++unlockedWrites;
    files[path] = text;
    forms[path] = form;
    return true;
}

std::unique_ptr<ProfileLock> FakeProfile::Lock(const std::string&, unsigned milliseconds) {
    ++locks;
    lockWaits.push_back(milliseconds);
    return std::make_unique<FakeLock>(failLocks ? nullptr : &held_);
}

std::string FakeProfile::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                    const std::string& def) const {
    const auto it = files.find(path);
    if (it == files.end())
        return def;
    const ProfileDocument doc = ProfileDocument::Parse(it->second);
    const std::string* value = doc.Find(section, key);
    return value ? ProfileReadValue(*value, 2048) : def;
}

} // namespace lumivane::test
