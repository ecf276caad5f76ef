// Contract: the profile (INI) file on disk, read whole and replaced whole, under
// a lock that every process of the program shares.
// - Paths and texts are UTF-8, paths Windows style, of any length the file
//   system takes.
// - Read gives the file's text from one read, decoded by its form as the Windows
//   profile functions decode it (see DecodeProfile): a byte-order mark chooses
//   UTF-8 or UTF-16, anything else is in the ANSI code page. Missing when there is
//   no file at the path; anything else standing there (a folder) counts as
//   missing too. Unreadable when the read fails for any other reason: another
//   program holds the file without sharing (a backup or a virus scanner), access
//   is denied, a network path is gone, a drive is not ready. A failed read is
//   never an empty file.
// - Replace puts the text, encoded in the form (see EncodeProfile: a file in the
//   ANSI code page becomes UTF-16 once a character does not fit), in the file's
//   place so that a reader, in this or any other process, sees the old file or
//   the new one whole, also when the process ends in the middle: the bytes go to
//   a new file beside it, written through to the disk, which then takes the
//   file's name. A program that holds the file for a moment (a scanner, a sync
//   client) is waited out for about two seconds. Returns false when that cannot
//   be done; the old file is then unchanged and nothing is left beside it.
// - Lock takes the lock of the file's folder, waiting at most the given time
//   while another process (or thread) holds it; the returned object keeps it
//   until destroyed. Held() is false when the wait ran out (a holder that hangs)
//   or there is no lock to be had: the caller then touches nothing. Every
//   read-modify-write of the file happens under a held lock.
// - Every wait answers what other threads send the calling one, so the window
//   that waits is not taken for a hung one.
#pragma once

#include <memory>
#include <string>

namespace lumivane {

enum class ProfileRead { Read, Missing, Unreadable };

// How a profile file is stored: in the ANSI code page, or in UTF-8 or UTF-16
// (little- or big-endian) behind a byte-order mark.
enum class ProfileForm { Ansi, Utf8, Utf16Le, Utf16Be };

struct ProfileText {
    ProfileRead status = ProfileRead::Missing;
    std::string text;
    ProfileForm form = ProfileForm::Ansi;
};

class ProfileLock {
public:
    virtual ~ProfileLock() = default;
    virtual bool Held() const = 0;
};

class ProfileFile {
public:
    virtual ~ProfileFile() = default;
    virtual ProfileText Read(const std::string& path) = 0;
    virtual bool Replace(const std::string& path, const std::string& text, ProfileForm form) = 0;
    virtual std::unique_ptr<ProfileLock> Lock(const std::string& path, unsigned milliseconds) = 0;
};

} // namespace lumivane
