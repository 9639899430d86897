#include "folder_bookmark.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "file_tree.h"

// Hostile bytes at large are the business of tests/fuzz/folder_bookmark_fuzzer.cpp.
namespace sorrelix::app {
namespace {

using testing::FileTree;

QByteArray bytesOf(const std::string& path) {
    return QByteArray::fromStdString(path);
}

TEST(FolderBookmark, ResolvesTheSameFolderByteExactAsFresh) {
    const FileTree tree;
    const std::string name = "caf\xe9 \xff";  // not UTF-8
    tree.folder(name);
    const QByteArray bytes = FolderBookmark::forFolder(bytesOf(tree.path(name))).toBytes();
    const auto resolution = FolderBookmark::fromBytes(bytes).resolve();
    EXPECT_EQ(resolution.path, bytesOf(tree.path(name)));
    EXPECT_FALSE(resolution.isStale);
}

TEST(FolderBookmark, NothingUsableAtThePathFails) {
    const FileTree tree;
    tree.folder("now-a-file");
    const auto nowAFile = FolderBookmark::forFolder(bytesOf(tree.path("now-a-file")));
    std::filesystem::remove(tree.path("now-a-file"));
    tree.file("now-a-file", "x");
    EXPECT_THROW(nowAFile.resolve(), BookmarkError);
    for (const std::string& path : {tree.path("now-a-file"), std::string("a/b"), std::string()}) {
        EXPECT_THROW(FolderBookmark::forFolder(bytesOf(path)), BookmarkError) << path;
    }
}

TEST(FolderBookmark, CorruptOrForeignBytesAreRejected) {
    const FileTree tree;
    const QByteArray good = FolderBookmark::forFolder(bytesOf(tree.root())).toBytes();
    for (qsizetype length = 0; length < good.size(); ++length) {
        EXPECT_THROW(FolderBookmark::fromBytes(good.left(length)), BookmarkError) << length;
    }
    QByteArray otherVersion = good;
    otherVersion[4] = 2;
    for (const QByteArray& bytes : {good + "x", otherVersion, QByteArray("bplist00\xd4\x01", 10)}) {
        EXPECT_THROW(FolderBookmark::fromBytes(bytes), BookmarkError)
            << bytes.toHex().toStdString();
    }
}

}  // namespace
}  // namespace sorrelix::app
