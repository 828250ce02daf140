#include "fault_support.h"

#include "support/test_support.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/mount.h>
#include <unistd.h>

namespace pelto::test {

namespace {

fs::path NewDir() {
    static std::atomic<int> counter{0};
    fs::path p = fs::temp_directory_path() /
                 ("pelto-fault-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(p);
    return p;
}

void WriteRaw(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool MountTmpfs(const fs::path& p, size_t bytes, std::string* why) {
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("tmpfs", p.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        *why = "cannot mount a tmpfs on " + p.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

std::unique_ptr<FaultFolder>
FaultFolder::ReadOnly(const std::vector<std::pair<std::string, std::string>>& files,
                      std::string* why) {
    std::unique_ptr<FaultFolder> f(new FaultFolder);
    f->path_ = NewDir();
    if (::geteuid() == 0) {
        if (!MountTmpfs(f->path_, 1 << 20, why))
            return nullptr;
        f->mounted_ = true;
    }
    for (const auto& [name, bytes] : files)
        WriteRaw(f->path_ / name, bytes);
    if (f->mounted_) {
        if (::mount(nullptr, f->path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            *why = std::string("cannot remount the tmpfs read-only: ") + std::strerror(errno);
            return nullptr;
        }
    } else {
        fs::permissions(f->path_, fs::perms::owner_read | fs::perms::owner_exec);
    }
    f->readOnly_ = true;
    // Prove it: a folder that still takes a file would let a test pass for nothing.
    std::ofstream probe(f->path_ / "probe", std::ios::binary);
    if (probe.is_open()) {
        *why = "the folder " + f->path_.string() + " still accepts files";
        return nullptr;
    }
    return f;
}

std::unique_ptr<FaultFolder> FaultFolder::SmallDisk(size_t bytes, std::string* why) {
    std::unique_ptr<FaultFolder> f(new FaultFolder);
    f->path_ = NewDir();
    if (::geteuid() != 0) {
        *why = "only root can mount a small disk here";
        return nullptr;
    }
    if (!MountTmpfs(f->path_, bytes, why))
        return nullptr;
    f->mounted_ = true;
    return f;
}

void FaultFolder::Put(const std::string& name, const std::string& bytes) {
    if (readOnly_) {
        if (mounted_)
            ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT, nullptr);
        else
            fs::permissions(path_, fs::perms::owner_all);
    }
    WriteRaw(path_ / name, bytes);
    if (readOnly_) {
        if (mounted_)
            ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
        else
            fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_exec);
    }
}

std::vector<std::string> FaultFolder::Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path_))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

FaultFolder::~FaultFolder() {
    std::error_code ec;
    if (mounted_)
        ::umount2(path_.c_str(), MNT_DETACH);
    else
        fs::permissions(path_, fs::perms::owner_all, ec);
    fs::remove_all(path_, ec);
}

std::string Bytes(size_t n, char fill) {
    return std::string(n, fill);
}

} // namespace pelto::test
