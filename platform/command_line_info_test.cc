#include "platform/command_line_info.h"

#include <gtest/gtest.h>

TEST(CommandLineTest, FlagsLoseTheirDashPathsKeepTheirSlash) {
  CCommandLineInfo info;
  const char* argv[] = {"prog", "-x", "/home/op/abc.msi", "-", "--long"};
  ParseCommandLine(5, argv, info);
  EXPECT_EQ(info.m_flags, (std::vector<std::string>{"x", "-long"}));
  EXPECT_EQ(info.m_params, (std::vector<std::string>{"/home/op/abc.msi", "-"}));
}
