#include <dlfcn.h>
#include <gtest/gtest.h>
#include <hpdf.h>
#include <hpdf_utils.h>

#include <cstring>
#include <string>

namespace {

TEST(HpdfByteLoopsTest, TheLibraryCallsOurDefinitions) {
  // The program's own definitions come first in the lookup the library's calls
  // go through; without them every drawing call clears its buffer byte by byte.
  EXPECT_EQ(reinterpret_cast<void*>(&HPDF_MemSet), dlsym(RTLD_DEFAULT, "HPDF_MemSet"));
  EXPECT_EQ(reinterpret_cast<void*>(&HPDF_MemCpy), dlsym(RTLD_DEFAULT, "HPDF_MemCpy"));
}

TEST(HpdfByteLoopsTest, FillAndCopyKeepTheLibrarysContracts) {
  char buffer[16] = "abcdefghijklmno";
  EXPECT_EQ(buffer + 5, HPDF_MemSet(buffer + 2, 'x', 3));
  EXPECT_EQ("abxxxfghijklmno", std::string(buffer));
  EXPECT_EQ(buffer, HPDF_MemSet(buffer, 'y', 0));

  struct Case {
    int from, to, count;
    const char* expected;
  };
  const Case cases[] = {
      {0, 8, 4, "abcdefghabcdmno"},  // apart
      {4, 2, 6, "abefghijijklmno"},  // target before the source
      {2, 4, 6, "abcdcdcdcdklmno"},  // target inside the source: bytes repeat
      {3, 3, 5, "abcdefghijklmno"},  // onto itself
      {0, 5, 0, "abcdefghijklmno"},  // nothing
  };
  for (const Case& c : cases) {
    HPDF_BYTE bytes[16];
    memcpy(bytes, "abcdefghijklmno", 16);
    EXPECT_EQ(bytes + c.to + c.count, HPDF_MemCpy(bytes + c.to, bytes + c.from, c.count));
    EXPECT_EQ(c.expected, std::string(reinterpret_cast<char*>(bytes))) << c.from << " " << c.to;
  }
}

}  // namespace
