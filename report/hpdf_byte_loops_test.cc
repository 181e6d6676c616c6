#include <dlfcn.h>
#include <gtest/gtest.h>
#include <hpdf.h>
#include <hpdf_utils.h>

#include <cstring>
#include <string>

namespace {

TEST(HpdfByteLoopsTest, TheLibraryCallsOurDefinitionsWhichKeepItsContracts) {
  // The program's own definitions come first in the lookup the library's calls go through.
  EXPECT_EQ(reinterpret_cast<void*>(&HPDF_MemSet), dlsym(RTLD_DEFAULT, "HPDF_MemSet"));
  EXPECT_EQ(reinterpret_cast<void*>(&HPDF_MemCpy), dlsym(RTLD_DEFAULT, "HPDF_MemCpy"));
  char buffer[16] = "abcdefghijklmno";
  EXPECT_EQ(buffer + 5, HPDF_MemSet(buffer + 2, 'x', 3));
  EXPECT_EQ("abxxxfghijklmno", std::string(buffer));
  struct Case {
    int from, to, count;
    const char* expected;
  } cases[] = {
      {0, 8, 4, "abcdefghabcdmno"},  // apart
      {4, 2, 6, "abefghijijklmno"},  // the target before the source
      {2, 4, 6, "abcdcdcdcdklmno"},  // the target inside the source: bytes repeat
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
