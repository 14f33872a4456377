#include <gtest/gtest.h>

#include <map>

#include "support/XmlTestSupport.h"

namespace {

TEST(I18NStringTest, BuildsComparesAndJoinsUtf8) {
  EXPECT_EQ(I18NString("abc", nullptr, -1, nullptr, nullptr), "abc");
  EXPECT_EQ(I18NString("abcdef", nullptr, 3, nullptr, nullptr), "abc");
  EXPECT_EQ(I18NString("abc", nullptr, 0, nullptr, nullptr), "");
  for (const char* latin1 : {"ISO-8859-1", "iso-8859-1", "LATIN1", "Latin-1"}) {
    EXPECT_EQ(I18NString("caf\xE9", latin1, -1, nullptr, nullptr), "caf\xC3\xA9") << latin1;
  }
  EXPECT_EQ(I18NString("caf\xC3\xA9", "UTF-8", -1, nullptr, nullptr), "caf\xC3\xA9");
  EXPECT_EQ(I18NString(static_cast<const char*>(nullptr)), "");
  I18NString s("a");
  s += 0x20ACu;
  s += 0x1F600u;
  s += "z";
  EXPECT_EQ(s, "a\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(I18NString("x") + I18NString("y") + "z" + 0x41u, "xyzA");
  // The code points on each side of every length boundary of UTF-8, and of the last code point:
  // one past it becomes U+FFFD.
  I18NString edges;
  for (unsigned cp : {0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu, 0x110000u}) {
    edges += cp;
  }
  EXPECT_EQ(
      edges,
      "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xEF\xBF\xBD");
  // Byte order of UTF-8 is code point order, so U+00E9 sorts after "z".
  std::map<I18NString, int> m{{"\xC3\xA9", 1}, {"z", 2}, {"Z", 3}};
  EXPECT_EQ(m.begin()->first, "Z");
  EXPECT_EQ(m.rbegin()->first, "\xC3\xA9");
}

TEST(ORVUtConvertTest, WritesWholeNumbers) {
  EXPECT_EQ(ORVUtConvert::longCvt(0), "0");
  EXPECT_EQ(ORVUtConvert::longCvt(-42), "-42");
  EXPECT_EQ(ORVUtConvert::longCvt(7, 3, '0'), "007");
  EXPECT_EQ(ORVUtConvert::longCvt(-7, 3, '0'), "-07");
  EXPECT_EQ(ORVUtConvert::longCvt(-7, 4, ' '), "  -7");
  EXPECT_EQ(ORVUtConvert::longCvt(-9223372036854775807LL - 1), "-9223372036854775808");
  EXPECT_EQ(ORVUtConvert::ulongCvt(4294967295ULL), "4294967295");
  EXPECT_EQ(ORVUtConvert::ulongCvt(18446744073709551615ULL), "18446744073709551615");
}

TEST(ORVAssertErrorTest, CarriesTheSiteTextCodeUnitAndLine) {
  const int line = __LINE__ + 1;
  EXPECT_ORV_ASSERT(ORV_ASSERT(1 + 1 == 3), "ORV_ASSERT(1 + 1 == 3);", "ORVCoreTest");
  try {
    ORV_ASSERT_NAMED(line < 0, "Cannot be empty");
  } catch (const ORVAssertError& e) {
    EXPECT_STREQ(e.what(), "ORV_ASSERT_NAMED(line < 0, \"Cannot be empty\");");
    EXPECT_EQ(e.getOrigin(), "ORV_THROW");
    EXPECT_EQ(e.getLine(), line + 2);
  }
}

class Counted : public ORVReferenceCount {
 public:
  explicit Counted(int* destroyed) : m_destroyed(destroyed) {}
  ~Counted() override { ++*m_destroyed; }

 private:
  int* m_destroyed;
};

TEST(ORVSmartPointerTest, SharesAndReleasesTheObject) {
  int destroyed = 0;
  {
    ORVSmartPointer<Counted> a(new Counted(&destroyed));
    EXPECT_EQ(a->getReferenceCount(), 1);
    ORVSmartPointer<Counted> b = a;
    ORVSmartPointer<Counted> c;
    EXPECT_TRUE(c.isNull());
    c = b;
    EXPECT_EQ(a->getReferenceCount(), 3);
    c = c;
    b = nullptr;
    EXPECT_EQ(a->getReferenceCount(), 2);
    EXPECT_EQ(a, c);
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
