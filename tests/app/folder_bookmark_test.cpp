#include "folder_bookmark.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "file_tree.h"

namespace sorrelix::app {
namespace {

using testing::FileTree;

QByteArray bytesOf(const std::string& path) {
    return QByteArray::fromStdString(path);
}

// Puts a new folder at the path while the old one still exists, so the two cannot share an
// inode number.
void replaceFolder(const std::string& path) {
    const std::string old = path + ".old";
    std::filesystem::rename(path, old);
    std::filesystem::create_directory(path);
    std::filesystem::remove_all(old);
}

TEST(FolderBookmark, ResolvesTheSameFolderAsFresh) {
    FileTree tree;
    tree.folder("Photos");
    const auto bookmark = FolderBookmark::fromBytes(
        FolderBookmark::forFolder(bytesOf(tree.path("Photos"))).toBytes());
    const auto resolution = bookmark.resolve();
    EXPECT_EQ(resolution.path, bytesOf(tree.path("Photos")));
    EXPECT_FALSE(resolution.isStale);
}

TEST(FolderBookmark, KeepsNamesThatAreNotUtf8ByteExact) {
    FileTree tree;
    const std::string name = "caf\xe9 \xff";
    tree.folder(name);
    const QByteArray bytes = FolderBookmark::forFolder(bytesOf(tree.path(name))).toBytes();
    EXPECT_EQ(FolderBookmark::fromBytes(bytes).path(), bytesOf(tree.path(name)));
    EXPECT_FALSE(FolderBookmark::fromBytes(bytes).resolve().isStale);
    std::filesystem::remove(tree.path(name));  // QTemporaryDir skips names it cannot decode
}

TEST(FolderBookmark, AFolderReplacedAtTheSamePathIsStale) {
    FileTree tree;
    tree.folder("Photos");
    const auto bookmark = FolderBookmark::forFolder(bytesOf(tree.path("Photos")));
    replaceFolder(tree.path("Photos"));
    const auto resolution = bookmark.resolve();
    EXPECT_TRUE(resolution.isStale);
    EXPECT_EQ(resolution.path, bytesOf(tree.path("Photos")));
    EXPECT_NE(FolderBookmark::forFolder(resolution.path).toBytes(), bookmark.toBytes());
}

TEST(FolderBookmark, NothingUsableAtThePathFails) {
    FileTree tree;
    tree.folder("gone");
    tree.folder("was-a-folder");
    const auto gone = FolderBookmark::forFolder(bytesOf(tree.path("gone")));
    const auto replacedByFile = FolderBookmark::forFolder(bytesOf(tree.path("was-a-folder")));
    std::filesystem::remove(tree.path("gone"));
    std::filesystem::remove(tree.path("was-a-folder"));
    tree.file("was-a-folder", "now a file");
    EXPECT_THROW(gone.resolve(), BookmarkError);
    EXPECT_THROW(replacedByFile.resolve(), BookmarkError);

    EXPECT_THROW(FolderBookmark::forFolder(bytesOf(tree.path("missing"))), BookmarkError);
    EXPECT_THROW(FolderBookmark::forFolder(bytesOf(tree.path("was-a-folder"))), BookmarkError);
    EXPECT_THROW(FolderBookmark::forFolder("relative/folder"), BookmarkError);
    EXPECT_THROW(FolderBookmark::forFolder(""), BookmarkError);
}

TEST(FolderBookmark, CorruptOrForeignBytesAreRejected) {
    FileTree tree;
    const QByteArray good = FolderBookmark::forFolder(bytesOf(tree.root())).toBytes();
    for (qsizetype length = 0; length < good.size(); ++length) {
        EXPECT_THROW(FolderBookmark::fromBytes(good.left(length)), BookmarkError) << length;
    }
    EXPECT_THROW(FolderBookmark::fromBytes(good + "x"), BookmarkError);
    QByteArray otherVersion = good;
    otherVersion[4] = 2;
    EXPECT_THROW(FolderBookmark::fromBytes(otherVersion), BookmarkError);
    QByteArray hugeLength = good;
    hugeLength[33] = '\xff';  // first byte of the path length
    EXPECT_THROW(FolderBookmark::fromBytes(hugeLength), BookmarkError);
    QByteArray embeddedNul = good;
    embeddedNul[embeddedNul.size() - 1] = '\0';
    EXPECT_THROW(FolderBookmark::fromBytes(embeddedNul), BookmarkError);
    EXPECT_THROW(FolderBookmark::fromBytes(QByteArray("bplist00\xd4\x01\x02\x03", 12)),
                 BookmarkError);
}

TEST(FolderBookmark, RandomBytesNeverCrashTheDecoder) {
    FileTree tree;
    const QByteArray good = FolderBookmark::forFolder(bytesOf(tree.root())).toBytes();
    std::mt19937 random(20240607);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes = good;
        // Flip a few bytes of a valid bookmark, or make one up from nothing.
        if (round % 2 == 0) {
            for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
                bytes[static_cast<qsizetype>(random() % bytes.size())] =
                    static_cast<char>(random());
            }
        } else {
            bytes = QByteArray(static_cast<qsizetype>(random() % 80), '\0');
            for (char& byte : bytes) byte = static_cast<char>(random());
        }
        try {
            FolderBookmark::fromBytes(bytes).resolve();
        } catch (const BookmarkError&) {
        }
    }
}

}  // namespace
}  // namespace sorrelix::app
