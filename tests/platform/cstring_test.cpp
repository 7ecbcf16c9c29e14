// CString operations, Format conversions and the random sequence.
#include "platform/afx.h"

#include <QString>
#include <gtest/gtest.h>

TEST(CStringOps, SubstringsSearchAndReplace) {
    CString s(u"abcdef");
    EXPECT_EQ(s.Left(2), CString(u"ab"));
    EXPECT_EQ(s.Right(2), CString(u"ef"));
    EXPECT_EQ(s.Mid(2), CString(u"cdef"));
    EXPECT_EQ(s.Mid(2, 2), CString(u"cd"));
    EXPECT_EQ(s.Left(99), s);
    EXPECT_EQ(s.Mid(9), CString());
    EXPECT_EQ(s.Find(u'c'), 2);
    EXPECT_EQ(s.Find(u"de"), 3);
    EXPECT_EQ(s.Find(u'z'), -1);
    EXPECT_EQ(s.Find(u'a', 1), -1);
    EXPECT_EQ(CString(u"a.b.c").ReverseFind(u'.'), 3);

    CString r(u"aaXaa");
    EXPECT_EQ(r.Replace(u"aa", u"b"), 2);
    EXPECT_EQ(r, CString(u"bXb"));
    CString path(u"C:\\doc\\x.gf");
    EXPECT_EQ(path.Left(path.GetLength() - 3) + u".hvx", CString(u"C:\\doc\\x.hvx"));

    CString t(u"  点A  ");
    t.Trim();
    EXPECT_EQ(t, CString(u"点A"));
    EXPECT_EQ(CString(u"ABC").Compare(u"ABD"), -1);
    EXPECT_EQ(CString(u"abc").CompareNoCase(u"ABC"), 0);
    EXPECT_TRUE(CString(u"hvx") != CString(u"HVX")); // case matters for extensions
}

TEST(CStringOps, QStringAndUtf8RoundTrips) {
    CString s(u"第一页 ABC ∠");
    EXPECT_EQ(CString::FromQString(s.ToQString()), s);
    EXPECT_EQ(CString::FromUtf8(s.ToUtf8()), s);
    EXPECT_EQ(CString("点"), CString(u"点"));
}

TEST(CStringFormat, IntegersCharactersAndStrings) {
    EXPECT_EQ(HxFormat(u"%d", 42), CString(u"42"));
    EXPECT_EQ(HxFormat(u"%3d.", 7), CString(u"  7."));
    EXPECT_EQ(HxFormat(u"%-4d|", 7), CString(u"7   |"));
    EXPECT_EQ(HxFormat(u"%02d", 5), CString(u"05"));
    EXPECT_EQ(HxFormat(u"%3d. %s----%s", 12, CString(u"AB"), u"线段"), CString(u" 12. AB----线段"));
    EXPECT_EQ(HxFormat(u"%c%c", u'A', u'1'), CString(u"A1"));
    EXPECT_EQ(HxFormat(u"%c'", char16_t(u'Z')), CString(u"Z'"));
    EXPECT_EQ(HxFormat(u"c%d", 3), CString(u"c3"));
    EXPECT_EQ(HxFormat(u"%x %X %08lx", 255, 255, 0x1234), CString(u"ff FF 00001234"));
    EXPECT_EQ(HxFormat(u"100%%"), CString(u"100%"));
    EXPECT_EQ(HxFormat(u"%s", CString()), CString());
    EXPECT_EQ(HxFormat(u"第%d页", 11), CString(u"第11页"));
    // Missing arguments read as zero or empty rather than garbage.
    EXPECT_EQ(HxFormat(u"%d|%s|"), CString(u"0||"));
}

TEST(CStringFormat, FixedRoundsExactHalvesAwayFromZero) {
    EXPECT_EQ(HxFormat(u"%.2f", 0.125), CString(u"0.13"));
    EXPECT_EQ(HxFormat(u"%.2f", -0.125), CString(u"-0.13"));
    EXPECT_EQ(HxFormat(u"%.0f", 2.5), CString(u"3"));
    EXPECT_EQ(HxFormat(u"%.0f", 0.5), CString(u"1"));
    EXPECT_EQ(HxFormat(u"%.0f", -2.5), CString(u"-3"));
    EXPECT_EQ(HxFormat(u"%.1f", 0.25), CString(u"0.3"));
    EXPECT_EQ(HxFormat(u"%.0f", 9.5), CString(u"10"));
    EXPECT_EQ(HxFormat(u"%.3f", 0.0625), CString(u"0.063"));
    EXPECT_EQ(HxFormat(u"%.0f", 99.5), CString(u"100"));
    EXPECT_EQ(HxFormat(u"%.3f", 99.9995), CString(u"99.999")); // 99.99949999...
    // Values just below a half stay below it.
    EXPECT_EQ(HxFormat(u"%.2f", 2.675), CString(u"2.67"));
    EXPECT_EQ(HxFormat(u"%.2f", 9.995), CString(u"9.99"));
    EXPECT_EQ(HxFormat(u"%.3f", 1.0005), CString(u"1.000"));
    // Ordinary values.
    EXPECT_EQ(HxFormat(u"%.4f", 3.14159265), CString(u"3.1416"));
    EXPECT_EQ(HxFormat(u"%f", 1.5), CString(u"1.500000"));
    EXPECT_EQ(HxFormat(u"%.5f", 1.0f / 3.0f), CString(u"0.33333"));
    EXPECT_EQ(HxFormat(u"%.2f", 0.0), CString(u"0.00"));
    EXPECT_EQ(HxFormat(u"%.0f°", 90.0), CString(u"90°"));
    EXPECT_EQ(HxFormat(u"%5.1f|", 3.14159), CString(u"  3.1|"));
    EXPECT_EQ(HxFormat(u"%05.1f", 2.25), CString(u"002.3"));
    EXPECT_EQ(HxFormat(u"%+.1f", 2.0), CString(u"+2.0"));
    EXPECT_EQ(HxFormat(u"%.2f", 123456789.005), CString(u"123456789.00")); // 123456789.00499999...
}

TEST(CStringFormat, GeneralFollowsTheCLibrary) {
    EXPECT_EQ(HxFormat(u"%g", 0.0001), CString(u"0.0001"));
    EXPECT_EQ(HxFormat(u"%g", 0.00001), CString(u"1e-05"));
    EXPECT_EQ(HxFormat(u"%g", 123456789.0), CString(u"1.23457e+08"));
    EXPECT_EQ(HxFormat(u"%g", 2.5), CString(u"2.5"));
    EXPECT_EQ(HxFormat(u"%g", 100.0), CString(u"100"));
}

TEST(Random, ClassicWindowsSequence) {
    HxSrand(1);
    EXPECT_EQ(HxRand(), 41);
    EXPECT_EQ(HxRand(), 18467);
    EXPECT_EQ(HxRand(), 6334);
    EXPECT_EQ(HxRand(), 26500);
    EXPECT_EQ(HxRand(), 19169);
    HxSrand(1);
    EXPECT_EQ(HxRand(), 41);
    for (int i = 0; i < 10000; ++i) {
        int r = HxRand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, HX_RAND_MAX);
    }
}
