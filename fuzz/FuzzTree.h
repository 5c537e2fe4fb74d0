#pragma once
// A fresh sysfs-like tree in a temporary folder for one fuzz input; removed when it goes.
// Everything is created inside it; links may point anywhere, as sysfs' can.

#include <filesystem>
#include <string>

namespace fuzz {

class FuzzTree {
public:
    FuzzTree();
    ~FuzzTree();
    FuzzTree(const FuzzTree&) = delete;
    FuzzTree& operator=(const FuzzTree&) = delete;

    const std::filesystem::path& Root() const { return m_root; }
    std::filesystem::path Sys() const { return m_root / "sys"; }
    std::filesystem::path Dev() const { return m_root / "dev"; }
    std::filesystem::path Devices() const { return Sys() / "devices"; }
    std::filesystem::path ClassTty() const { return Sys() / "class" / "tty"; }

    // Each creates missing parent folders and gives up quietly when the file system refuses
    // (an odd name may not be creatable): the scan then meets the tree as it is.
    void Write(const std::filesystem::path& file, const std::string& bytes) const;
    void Folder(const std::filesystem::path& folder) const;
    void Fifo(const std::filesystem::path& file) const;
    // A link holding target exactly as given.
    void Link(const std::filesystem::path& link, const std::string& target) const;
    // A link to target, written relative to the link's folder as sysfs writes them.
    void RelativeLink(const std::filesystem::path& link, const std::filesystem::path& target) const;

private:
    std::filesystem::path m_root;
};

}  // namespace fuzz
