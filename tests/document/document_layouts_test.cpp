// Lessons written in the present and in the older ".gf" layout, each under a ".hvx" and a ".gf" name,
// and opened with the program's open: a lesson opens under either name with every cell as its own
// layout holds it, never part of it, and a refusal would leave the open document alone.  The
// lessons are one object of every cell class met in the documents kept from fuzzing and in a page of
// every model class (with the objects it is built on), and one to three pictures of several sizes.
#include "document_test_support.h"

#include "measure/text_items.h"
#include "support/page_snapshot.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <set>

namespace {

// A picture of a lesson as it was made.
struct Picture {
    WORD id = 0;
    int width = 0, height = 0;
    std::vector<BYTE> bits;
};

struct Lesson {
    std::string what;
    std::vector<BYTE> present, gf; // the lesson stored in either layout
    std::vector<Picture> pictures;
};

// Cells taken from a page for a lesson: each one's record, by id.
using CellRecords = std::vector<std::pair<WORD, std::vector<BYTE>>>;

std::string Difference(const std::vector<PageSnapshot>& a, const std::vector<PageSnapshot>& b) {
    if (a.size() != b.size())
        return std::to_string(a.size()) + " pages against " + std::to_string(b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        if (!(a[i] == b[i]))
            return "page " + std::to_string(i) + ": " + SnapshotDifference(a[i], b[i]);
    }
    return "no difference";
}

class DocumentLayoutsTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        HxSetDialogRunner([](CDialog&) -> INT_PTR { return IDCANCEL; });
    }

    CString Path(const QString& name) const { return CString::FromQString(m_dir.filePath(name)); }

    void WriteFile(const CString& path, const std::vector<BYTE>& bytes) {
        QFile f(path.ToQString());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())),
                  qint64(bytes.size()));
    }

    // Every page of the document, cell by cell.
    std::vector<PageSnapshot> Pages() {
        std::vector<PageSnapshot> pages;
        for (int i = 0; i < m_doc->GetPageCount(); ++i)
            pages.push_back(TakeSnapshot(*m_doc->GetPage(i)));
        return pages;
    }

    // The document as a lesson, in both layouts.
    void StoreLesson(Lesson& lesson) {
        lesson.present = Store();
        lesson.gf = Store(true);
    }

    // A cell and every cell it is built on, in id order.
    static CellRecords TakeWithAncestors(CGPage* page, CGCell* cell) {
        std::set<WORD> taken;
        std::vector<WORD> todo{cell->m_id};
        while (!todo.empty()) {
            const WORD id = todo.back();
            todo.pop_back();
            CGCell* c = page->FindCell(id);
            if (!c || !taken.insert(id).second)
                continue;
            for (WORD parent : c->m_parents)
                todo.push_back(parent);
        }
        CellRecords records;
        for (WORD id : taken)
            records.emplace_back(id, CellRecordBytes(page->FindCell(id), false));
        return records;
    }

    // A new document whose first page holds the cells, their child lists cut to the cells there.
    void MakeLesson(const CellRecords& records) {
        ASSERT_TRUE(m_doc->OnNewDocument());
        CGPage* page = m_doc->GetPage(0);
        std::set<WORD> ids;
        for (const auto& record : records)
            ids.insert(record.first);
        for (const auto& [id, bytes] : records) {
            CGCell* cell = nullptr;
            LoadBytes(bytes, [&](CArchive& ar) {
                cell = static_cast<CGCell*>(ar.ReadObject(RUNTIME_CLASS(CGCell)));
            });
            ASSERT_NE(cell, nullptr);
            std::vector<WORD> children;
            for (WORD child : cell->m_children)
                if (ids.count(child))
                    children.push_back(child);
            cell->m_children.RemoveAll();
            for (WORD child : children)
                cell->m_children.AddTail(child);
            page->m_cells.SetAt(id, cell);
            page->m_nextId = std::max<WORD>(page->m_nextId, WORD(id + 1));
        }
    }

    // One lesson for every cell class of a page of every model class, of the sample document and of
    // the documents kept from fuzzing that load: the first cell of the class met, with its ancestors.
    std::vector<Lesson> ClassLessons() {
        std::map<std::string, std::pair<std::string, CellRecords>> firstOfClass;
        auto takeFrom = [&](const std::string& source) {
            for (int i = 0; i < m_doc->GetPageCount(); ++i) {
                CGPage* page = m_doc->GetPage(i);
                g_pCurPage = page;
                g_cellMap = &page->m_cells;
                std::vector<WORD> ids = page->m_cells.Keys();
                std::sort(ids.begin(), ids.end());
                for (WORD id : ids) {
                    CGCell* cell = page->FindCell(id);
                    const std::string name = cell->GetRuntimeClass()->m_lpszClassName;
                    if (!firstOfClass.count(name))
                        firstOfClass[name] = {source, TakeWithAncestors(page, cell)};
                }
            }
        };
        BuildSampleDocument();
        AddEveryCellClass(m_doc->AppendPage(u"各类对象"));
        takeFrom("the model classes");

        const QDir corpus(QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
                              .filePath(QStringLiteral("tests/document/fuzz/corpus")));
        QStringList files = corpus.entryList(QDir::Files, QDir::Name);
        // The seed documents first: they were written whole by the program.
        std::stable_partition(files.begin(), files.end(),
                              [](const QString& name) { return name.startsWith(QStringLiteral("seed-")); });
        EXPECT_GE(files.size(), 10) << corpus.path().toStdString();
        for (const QString& name : files) {
            QFile file(corpus.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray data = file.readAll();
            if (Load(std::vector<BYTE>(data.begin(), data.end())))
                takeFrom(name.toStdString());
        }
        m_messages.clear();

        std::vector<Lesson> lessons;
        for (const auto& [name, taken] : firstOfClass) {
            Lesson lesson;
            lesson.what =
                name + " (from " + taken.first + ", " + std::to_string(taken.second.size()) + " cells)";
            MakeLesson(taken.second);
            StoreLesson(lesson);
            lessons.push_back(std::move(lesson));
        }
        return lessons;
    }

    // Lessons of one to three pictures: colour pictures and bitmap texts of several sizes, their
    // bytes drawn at random, all 0 or all 255.
    std::vector<Lesson> PictureLessons() {
        std::mt19937 random(605330);
        const std::pair<int, int> sizes[] = {{1, 1},   {3, 2},     {5, 7},    {32, 1},
                                             {64, 48}, {100, 100}, {333, 77}, {600, 200}};
        std::vector<Lesson> lessons;
        for (int n = 0; n < 36; ++n) {
            EXPECT_TRUE(m_doc->OnNewDocument());
            CGPage* page = m_doc->GetPage(0);
            Lesson lesson;
            for (int k = 0; k < 1 + n % 3; ++k) {
                const auto [width, height] = sizes[random() % std::size(sizes)];
                const bool photo = random() % 2 == 0;
                const int fill = int(random() % 3);
                const long long rowBytes =
                    photo ? CGTextbit::PictureRowBytes(width) : CGTextbit::BitmapRowBytes(width);
                std::vector<BYTE> bits(size_t(rowBytes * height));
                for (BYTE& b : bits)
                    b = fill == 0 ? BYTE(random()) : fill == 1 ? BYTE(0) : BYTE(255);
                CGTextbit* cell = photo ? new CGTbImage(page->m_nextId, width, height, bits)
                                        : new CGTextbit(page->m_nextId, width, height, bits);
                ++page->m_nextId;
                page->m_cells.SetAt(cell->m_id, cell);
                lesson.pictures.push_back({cell->m_id, width, height, bits});
                lesson.what += std::string(k ? ", " : "") + (photo ? "picture " : "bitmap text ") +
                               std::to_string(width) + " x " + std::to_string(height) +
                               (fill == 0   ? " random"
                                : fill == 1 ? " of 0"
                                            : " of 255");
            }
            StoreLesson(lesson);
            lessons.push_back(std::move(lesson));
        }
        return lessons;
    }

    // The lesson in each layout under each name, opened in place of another document: a file whose
    // name says its layout, a file of the present layout under a ".gf" name (a lesson saved again
    // under the name of its copy) and a ".gf" copy under a ".hvx" name all open.
    void Check(const Lesson& lesson) {
        for (bool gf : {false, true}) {
            const std::vector<BYTE>& bytes = gf ? lesson.gf : lesson.present;
            // What the file holds, read in the layout it was written in, as the open shows it.
            g_lastDocumentPath = Path(QStringLiteral("课件.hvx"));
            ASSERT_TRUE(m_doc->OnNewDocument());
            m_messages.clear();
            ASSERT_TRUE(Load(bytes, gf)) << lesson.what;
            m_doc->OnInitialUpdate();
            const std::vector<PageSnapshot> expected = Pages();
            // What the cells say as they are read (a model whose file is not there).
            const std::vector<CString> said = m_messages;

            for (const char* suffix : {"hvx", "gf"}) {
                const std::string what =
                    lesson.what + (gf ? " in the older layout" : " in the present layout") + " as ." + suffix;
                const CString path = Path(QStringLiteral("课件.") + QLatin1String(suffix));
                WriteFile(path, bytes);
                ASSERT_TRUE(m_doc->OnNewDocument());
                m_doc->AppendPage(u"打开前的一页");
                const std::vector<PageSnapshot> before = Pages();
                m_messages.clear();
                if (!m_doc->OpenDocumentFile(path, FALSE)) {
                    ADD_FAILURE() << what << " is refused: "
                                  << (m_messages.empty() ? std::string("no message")
                                                         : m_messages.back().ToQString().toStdString());
                    EXPECT_TRUE(Pages() == before) << what << ": the open document changed";
                    continue;
                }
                EXPECT_EQ(m_messages, said) << what;
                const std::vector<PageSnapshot> opened = Pages();
                EXPECT_TRUE(opened == expected) << what << ": " << Difference(opened, expected);
                for (const Picture& picture : lesson.pictures) {
                    const auto* cell = DYNAMIC_DOWNCAST(CGTextbit, m_doc->GetPage(0)->FindCell(picture.id));
                    ASSERT_NE(cell, nullptr) << what;
                    EXPECT_EQ(cell->m_width, picture.width) << what;
                    EXPECT_EQ(cell->m_height, picture.height) << what;
                    EXPECT_TRUE(cell->m_bits == picture.bits)
                        << what << ": " << cell->m_bits.size() << " bytes of " << picture.bits.size();
                }
            }
        }
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(DocumentLayoutsTest, OneObjectOfEveryCellClassOpensAsItsLayoutHoldsIt) {
    const std::vector<Lesson> lessons = ClassLessons();
    EXPECT_GE(lessons.size(), 100u);
    for (const Lesson& lesson : lessons) {
        Check(lesson);
        if (HasFailure())
            return;
    }
}

TEST_F(DocumentLayoutsTest, LessonsOfOneToThreePicturesOpenWithEveryByte) {
    for (const Lesson& lesson : PictureLessons()) {
        Check(lesson);
        if (HasFailure())
            return;
    }
}

// A lesson of the present layout whose one cell makes the older layout read it to the end as well:
// the page's record then starts early, and its title swallows the bytes between.  A ".gf" name
// opens it in the layout its version names: the present one for 605, the older one for 330.
TEST_F(DocumentLayoutsTest, AFileWholeInBothLayoutsOpensInTheOneItsVersionNames) {
    // The common record of a plain cell is 24 bytes longer in the present layout (four ints, a float
    // and an empty string of 4 bytes).  Read in the older layout, the child count is the high word of
    // m_extB1, and the page's record begins at m_extB2: its id the low word, its title a string of
    // single bytes whose length is the third byte.  A length of 24 + the title's own 10 bytes - 1
    // ends it where the real title ends; the rest of the page is then read where it lies.
    const int extB2 = (24 + 10 - 1) << 16;
    auto* cell = new CGCell;
    cell->m_id = 1;
    cell->m_extB2 = extB2;
    CGPage* page = m_doc->GetPage(0);
    ASSERT_EQ(page->m_title, u"第一页");
    page->m_cells.SetAt(1, cell);
    page->m_nextId = 2;
    std::vector<BYTE> bytes = Store();
    // No tools, then the version.
    ASSERT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 6),
              std::vector<BYTE>({0, 0, 0x5D, 0x02, 0, 0}));

    const CString path = Path(QStringLiteral("两种都读得完.gf"));
    for (int version : {CHalvixDoc::kGfVersion, CHalvixDoc::kCurrentVersion}) {
        SCOPED_TRACE(version);
        bytes[2] = BYTE(version & 0xFF);
        bytes[3] = BYTE(version >> 8);
        WriteFile(path, bytes);
        ASSERT_TRUE(m_doc->OnNewDocument());
        m_messages.clear();
        ASSERT_TRUE(m_doc->OpenDocumentFile(path, FALSE));
        EXPECT_TRUE(m_messages.empty());
        ASSERT_EQ(m_doc->GetPageCount(), 1);
        const CGCell* opened = m_doc->GetPage(0)->FindCell(1);
        ASSERT_NE(opened, nullptr);
        if (version == CHalvixDoc::kGfVersion) {
            // Read whole in the older layout (the present one would give the title back).
            EXPECT_NE(m_doc->GetPage(0)->m_title, u"第一页");
            EXPECT_EQ(opened->m_extB2, 0) << "not in the older layout";
        } else {
            EXPECT_EQ(m_doc->GetPage(0)->m_title, u"第一页");
            EXPECT_EQ(opened->m_extB2, extB2);
        }
    }
}

// A ".gf" copy that the present layout reads in part: read in that layout, its plain cell's record
// takes the 24 bytes more the present layout holds (four ints, a float and an empty string) from the
// counts of its parents and children and the page's record after them, and so starts the rest of the lesson
// inside the page's title, which holds, after five characters, the rest of a whole lesson of the present
// layout.  That lesson ends inside the title and leaves the rest of the copy unread.  Renamed ".hvx", the
// copy opens whole, as it opens under its own name, never as the part the present layout reads.
TEST_F(DocumentLayoutsTest, AGfCopyThePresentLayoutReadsInPartOpensWholeUnderAnHvxName) {
    const std::u16string prefix = u"改名的副本";
    CGPage* page = m_doc->GetPage(0);
    ASSERT_EQ(page->m_title, u"第一页");
    auto* cell = new CGCell;
    cell->m_id = 1;
    cell->m_text3 = u"记号"; // the last field both layouts hold, found by its bytes
    page->m_cells.SetAt(1, cell);
    page->m_nextId = 2;
    const std::vector<BYTE> mark = ByteBuilder().Str(u"记号");
    auto markEnd = [&](const std::vector<BYTE>& bytes) {
        auto at = std::search(bytes.begin(), bytes.end(), mark.begin(), mark.end());
        EXPECT_NE(at, bytes.end());
        return size_t(at - bytes.begin()) + mark.size();
    };

    // The lesson the present layout reads, and the 20 bytes of the copy its cell's ints and float take:
    // the counts of the cell's parents and children, the page id, the title's Unicode marker and
    // length, and the title's first five characters.
    const size_t fieldsEnd = markEnd(Store());
    const size_t restBytes = Store().size() - fieldsEnd - 20; // from the empty string on
    const size_t titleLength = prefix.size() + (restBytes + 1) / 2;
    ASSERT_LT(titleLength, 0xFFu) << "a title of a length byte";
    ByteBuilder copyFields;
    copyFields.U16(0).U16(0).U16(page->m_pageId).U8(0xFF).U16(0xFFFE).U8(unsigned(titleLength));
    for (char16_t c : prefix)
        copyFields.U16(c);
    const std::vector<BYTE> fields = copyFields;
    ASSERT_EQ(fields.size(), 20u);
    std::memcpy(&cell->m_extB1, &fields[0], 4);
    std::memcpy(&cell->m_extB2, &fields[4], 4);
    std::memcpy(&cell->m_extB3, &fields[8], 4);
    std::memcpy(&cell->m_extB4, &fields[12], 4);
    std::memcpy(&cell->m_extB5, &fields[16], 4);
    const std::vector<BYTE> lesson = Store();
    ASSERT_EQ(markEnd(lesson), fieldsEnd);
    const std::vector<BYTE> rest(lesson.begin() + std::ptrdiff_t(fieldsEnd), lesson.end());
    ASSERT_TRUE(std::equal(fields.begin(), fields.end(), rest.begin()));

    // The copy: the rest of the lesson in the title's characters, a byte of 0 after an odd one.
    std::u16string title = prefix;
    for (size_t k = 20; k < rest.size(); k += 2)
        title += char16_t(rest[k] | (k + 1 < rest.size() ? rest[k + 1] << 8 : 0));
    ASSERT_EQ(title.size(), titleLength);
    page->m_title = CString(title);
    const std::vector<BYTE> copy = Store(true);
    ASSERT_EQ(markEnd(copy), fieldsEnd);
    ASSERT_GT(copy.size(), fieldsEnd + rest.size());
    ASSERT_TRUE(std::equal(rest.begin(), rest.end(), copy.begin() + std::ptrdiff_t(fieldsEnd)))
        << "the rest of the lesson lies in the copy where the present layout reads it";
    std::vector<BYTE> common(lesson.begin(), lesson.begin() + std::ptrdiff_t(fieldsEnd));
    common[2] = BYTE(CHalvixDoc::kGfVersion & 0xFF);
    common[3] = BYTE(CHalvixDoc::kGfVersion >> 8);
    ASSERT_TRUE(std::equal(common.begin(), common.end(), copy.begin()))
        << "the records agree, but for the version, up to the fields the older layout lacks";
    {
        // Read in the present layout alone, the copy is a lesson of its own that ends early.
        CMemFile file(copy);
        CArchive ar(&file, CArchive::load);
        m_doc->Serialize(ar);
        EXPECT_EQ(ar.GetBytesLeft(), copy.size() - fieldsEnd - rest.size());
        EXPECT_EQ(m_doc->GetPage(0)->m_title, u"第一页");
    }

    // The copy under its own name, and renamed: one lesson, as the older layout reads it.
    const CString gfPath = Path(QStringLiteral("副本.gf"));
    const CString hvxPath = Path(QStringLiteral("改名的副本.hvx"));
    WriteFile(gfPath, copy);
    WriteFile(hvxPath, copy);
    ASSERT_TRUE(m_doc->OnNewDocument());
    m_messages.clear();
    ASSERT_TRUE(m_doc->OpenDocumentFile(gfPath, FALSE));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_doc->GetPage(0)->m_title, CString(title));
    const std::vector<BYTE> expected = Store();

    ASSERT_TRUE(m_doc->OnNewDocument());
    m_doc->AppendPage(u"打开前的一页");
    ASSERT_TRUE(m_doc->OpenDocumentFile(hvxPath, FALSE));
    EXPECT_TRUE(m_messages.empty());
    ASSERT_EQ(m_doc->GetPageCount(), 1);
    EXPECT_EQ(m_doc->GetPage(0)->m_title, CString(title)) << "not the title inside it";
    const CGCell* opened = m_doc->GetPage(0)->FindCell(1);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->m_extB2, 0) << "not in the present layout";
    EXPECT_TRUE(Store() == expected);
}
