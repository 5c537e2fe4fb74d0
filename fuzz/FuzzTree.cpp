#include "fuzz/FuzzTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "fuzz/Check.h"

namespace fs = std::filesystem;

namespace fuzz {

FuzzTree::FuzzTree() {
    std::string pattern = (fs::temp_directory_path() / "marlox-fuzz-sysfs-XXXXXX").string();
    FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
    m_root = pattern;
    Folder(ClassTty());
    Folder(Devices() / "virtual" / "tty");
    Folder(Dev());
}

FuzzTree::~FuzzTree() {
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

void FuzzTree::Folder(const fs::path& folder) const {
    std::error_code ignored;
    fs::create_directories(folder, ignored);
}

// Never blocks and never writes through a link: the name may already be a FIFO or a link
// made for another tty.
void FuzzTree::Write(const fs::path& file, const std::string& bytes) const {
    Folder(file.parent_path());
    const int fd = ::open(file.c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return;
    // A short write still leaves a tree the scan must cope with.
    [[maybe_unused]] const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    ::close(fd);
}

void FuzzTree::Fifo(const fs::path& file) const {
    Folder(file.parent_path());
    ::mkfifo(file.c_str(), 0600);
}

void FuzzTree::Link(const fs::path& link, const std::string& target) const {
    Folder(link.parent_path());
    std::error_code ignored;
    fs::create_symlink(target, link, ignored);
}

void FuzzTree::RelativeLink(const fs::path& link, const fs::path& target) const {
    Link(link, target.lexically_relative(link.parent_path()).string());
}

}  // namespace fuzz
