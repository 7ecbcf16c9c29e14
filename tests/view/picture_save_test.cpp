// Refused picture saves: the message keeps its form "Save image failed:\n<hex code> - <reason>" and
// gives the reason in Chinese for an empty picture, an unknown type, a missing or read-only folder, a
// read-only file, a folder in the file's place, a picture the encoder refuses and a full disk.
#include "support/child_process.h"
#include "view/picture_export.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QImage SmallPicture() {
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(3, 4, qRgb(0, 0, 200));
    return picture;
}

// The message of a refused save, or "(saved)".
CString Refusal(const QImage& picture, const QString& path) {
    CString error;
    return HxSavePicture(picture, CString::FromQString(path), &error) ? CString(u"(saved)") : error;
}

CString Message(const char16_t* codeAndReason) {
    return CString(u"Save image failed:\n") + CString(codeAndReason);
}

class PictureSaveTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    void TearDown() override {
        // Writable again, so that the temporary folder can go.
        for (const char* name : {"locked", "old.bmp"})
            chmod(QFile::encodeName(Path(name)).constData(), 0755);
    }
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(PictureSaveTest, EachRefusalGivesItsReasonInChinese) {
    ASSERT_TRUE(QDir().mkpath(Path("locked")));
    ASSERT_TRUE(SmallPicture().save(Path("old.bmp")));
    ASSERT_EQ(chmod(QFile::encodeName(Path("old.bmp")).constData(), 0444), 0);
    ASSERT_EQ(chmod(QFile::encodeName(Path("locked")).constData(), 0555), 0);
    ASSERT_TRUE(QDir().mkpath(Path("folder.png")));
    // JPEG takes at most 65500 pixels a side.
    QImage tooWide(70000, 1, QImage::Format_RGB32);
    tooWide.fill(Qt::white);

    struct Case {
        const char* what;
        QImage picture;
        const char* file;
        const char16_t* message; // after "Save image failed:\n"
    };
    // A file that cannot be written has the format's code: giflib's write error (2) for a GIF, Qt's
    // device error (0x101) for the others.
    const Case cases[] = {
        {"empty picture", QImage(), "empty.png", u"1 - 图象为空"},
        {"unknown type", SmallPicture(), "picture.tif", u"2 - 不支持的图象格式"},
        {"missing folder", SmallPicture(), "none/picture.png", u"101 - 找不到文件夹"},
        {"missing folder, GIF", SmallPicture(), "none/picture.gif", u"2 - 找不到文件夹"},
        {"read-only folder", SmallPicture(), "locked/picture.jpg", u"101 - 没有写入权限"},
        {"read-only folder, GIF", SmallPicture(), "locked/picture.gif", u"2 - 没有写入权限"},
        {"read-only file", SmallPicture(), "old.bmp", u"101 - 没有写入权限"},
        {"a folder in the file's place", SmallPicture(), "folder.png", u"101 - 不是普通文件"},
        {"encoder refuses", tooWide, "wide.jpg", u"100 - 图象编码失败"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Refusal(c.picture, Path(c.file)), Message(c.message));
    }
    EXPECT_FALSE(QFile::exists(Path("empty.png")));
    EXPECT_FALSE(QFile::exists(Path("wide.jpg")));
    EXPECT_EQ(QDir(Path("locked")).entryList(QDir::Files | QDir::Hidden), QStringList());
    // The same pictures go where they may.
    EXPECT_EQ(Refusal(SmallPicture(), Path("picture.gif")), CString(u"(saved)"));
    EXPECT_EQ(Refusal(SmallPicture(), Path("picture.jpg")), CString(u"(saved)"));
}

TEST_F(PictureSaveTest, AFullDiskIsSaidToBeFull) {
    // Each in a child: under a file-size limit, and on a small file system filled to the last byte.
    auto saveAll = [this] {
        return (Refusal(SmallPicture(), Path("big.png")) == Message(u"101 - 磁盘已满") ? 1 : 0) |
               (Refusal(SmallPicture(), Path("big.gif")) == Message(u"2 - 磁盘已满") ? 2 : 0);
    };
    EXPECT_EQ(HxRunInChild(saveAll, 32), 3);
    const int found = HxRunInChild([&] {
        if (!HxMountSmallFileSystem(m_dir.path(), 64))
            return kNoFileSystem;
        HxFillFileSystem(m_dir.path());
        return saveAll();
    });
    if (found == kNoFileSystem)
        GTEST_SKIP() << "this machine cannot mount a small file system";
    EXPECT_EQ(found, 3);
}
