#include "tools/vendor/rss_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(XmlEscapeTest, AlwaysGivesWellFormedCharacterData) {
  struct Case {
    std::string text, escaped;
  } const kCases[] = {
      {"Totals < 0 & \"more\" > 1", "Totals &lt; 0 &amp; &quot;more&quot; &gt; 1"},
      {"Caf\xC3\xA9 \xE6\x9D\xB1 \xF0\x9F\x93\xA6", "Caf\xC3\xA9 \xE6\x9D\xB1 \xF0\x9F\x93\xA6"},
      {"tab\tline\nreturn\r", "tab\tline\nreturn\r"},
      {std::string("nul\0bell\a", 9), "nulbell"},
      {"latin1 caf\xE9!", "latin1 caf\xEF\xBF\xBD!"},
      {"cut \xE6\x9D", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"overlong \xC0\xAF", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"},
      {"surrogate \xED\xA0\x80", "surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"not a character \xEF\xBF\xBF", "not a character \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(XmlEscape(c.text), c.escaped) << c.text;
    std::string appended = "<d>";
    AppendXmlEscaped(c.text, &appended);
    EXPECT_EQ(appended, "<d>" + c.escaped) << c.text;
  }
}

TEST(Rfc822DateTest, FormatsStoredStampsInEnglish) {
  struct Case {
    const char *stamp, *date;
  } const kCases[] = {
      {"2021-07-06 09:30:00", "Tue, 06 Jul 2021 09:30:00 GMT"},
      {"2000-02-29 23:59:59", "Tue, 29 Feb 2000 23:59:59 GMT"},
      {"1999-12-31 00:00:00", "Fri, 31 Dec 1999 00:00:00 GMT"},
      {"2021-02-30 10:00:00", ""},
      {"2021-07-06", ""},
      {"2021-07-06 09:30:00 trailing", ""},
      {"", ""},
  };
  for (const Case& c : kCases) EXPECT_EQ(Rfc822Date(c.stamp), c.date) << c.stamp;
}

// The direct path for stored stamps must say exactly what strptime and timegm
// say, on the calendar's edges, on every field just out of range and on near
// forms.
TEST(Rfc822DateTest, DirectPathAgreesWithStrptime) {
  std::vector<std::string> stamps = {"2021-7-06 09:30:00",
                                     "2021-07-6 09:30:00",
                                     " 2021-07-06 09:30:00",
                                     "2021-07-06  9:30:00",
                                     "2021-07-06T09:30:00",
                                     "2021/07/06 09:30:00",
                                     "2021-07-06 09:30",
                                     "12021-07-06 09:30:00",
                                     "2021-07-06 09:30:00 ",
                                     "+021-07-06 09:30:00",
                                     "2021-07-06 09:3a:00",
                                     std::string("2021-07-06 09:30:00\0x", 21),
                                     std::string("2021-07-06\0"
                                                 "09:30:00",
                                                 19)};
  char stamp[64];
  for (int year : {0, 1, 99, 100, 1582, 1899, 1900, 1970, 1999, 2000, 2021, 2024, 2100, 9999})
    for (int month = 0; month <= 13; ++month)
      for (int day = 0; day <= 32; ++day)
        stamps.emplace_back(
            stamp, snprintf(stamp, sizeof stamp, "%04d-%02d-%02d 12:34:56", year, month, day));
  for (int hour : {0, 9, 23, 24, 99})
    for (int minute : {0, 30, 59, 60, 61, 99})
      for (int second : {0, 30, 59, 60, 61, 99})
        stamps.emplace_back(stamp, snprintf(stamp, sizeof stamp, "2021-12-31 %02d:%02d:%02d", hour,
                                            minute, second));
  int dates = 0;
  for (const std::string& form : stamps) {
    char direct[kRfc822DateCapacity], by_strptime[kRfc822DateCapacity];
    const size_t length = FormatRfc822Date(form, direct);
    EXPECT_EQ(std::string(direct, length),
              std::string(by_strptime, FormatRfc822DateByStrptime(form, by_strptime)))
        << form;
    dates += length > 0;
  }
  EXPECT_GT(dates, 4000);  // most of the calendar grid is made of real dates
}

}  // namespace
