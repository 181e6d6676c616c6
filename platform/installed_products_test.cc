#include "platform/installed_products.h"

#include <gtest/gtest.h>

#include "tests/support/test_env.h"

namespace {

InstalledProduct Product(const std::string& code, const std::string& upgrade_code,
                         std::vector<std::string> files) {
  InstalledProduct product;
  product.product_code = code;
  product.name = "Calvaro \"ABC\" C:\\Module caf\xC3\xA9";
  product.version = "2.0.0";
  product.upgrade_code = upgrade_code;
  product.install_folder = "/home/op/My \"Programs\"\\abc";
  product.files = std::move(files);
  return product;
}

void ExpectSame(const InstalledProduct& expected, const InstalledProduct& actual) {
  EXPECT_EQ(expected.product_code, actual.product_code);
  EXPECT_EQ(expected.name, actual.name);
  EXPECT_EQ(expected.version, actual.version);
  EXPECT_EQ(expected.upgrade_code, actual.upgrade_code);
  EXPECT_EQ(expected.install_folder, actual.install_folder);
  EXPECT_EQ(expected.files, actual.files);
}

}  // namespace

TEST(InstalledProductsTest, RecordsReplacesAndForgetsProductsByCode) {
  ScopedTestHome home;
  std::vector<std::string> many_files;
  for (int i = 0; i < 12; ++i) many_files.push_back("/opt/abc/file " + std::to_string(i));
  const InstalledProduct first =
      Product("{6B3F1D2A-0C4E-4F7B-9A51-3E2D7C8B1001}", "{0E5A7C3B-52D1-4B8E-A7F0-9C4D2E6B7A11}",
              many_files);
  const InstalledProduct second = Product("{6B3F1D2A-0C4E-4F7B-9A51-3E2D7C8B1002}", "", {});
  std::string error;
  std::vector<InstalledProduct> products;

  ASSERT_TRUE(ReadInstalledProducts(&products, &error)) << error;
  EXPECT_TRUE(products.empty());
  ASSERT_TRUE(RecordInstalledProduct(first, &error)) << error;
  ASSERT_TRUE(RecordInstalledProduct(second, &error)) << error;
  ASSERT_TRUE(ReadInstalledProducts(&products, &error)) << error;
  ASSERT_EQ(2u, products.size());
  ExpectSame(first, products[0]);  // in order of product code
  ExpectSame(second, products[1]);

  // Recording the same code again replaces the record, files included.
  InstalledProduct smaller = first;
  smaller.version = "2.0.1";
  smaller.files = {"/opt/abc/only"};
  ASSERT_TRUE(RecordInstalledProduct(smaller, &error)) << error;
  ASSERT_TRUE(ForgetInstalledProduct(second.product_code, &error)) << error;
  ASSERT_TRUE(ForgetInstalledProduct("{00000000-0000-0000-0000-000000000000}", &error)) << error;
  ASSERT_TRUE(ReadInstalledProducts(&products, &error)) << error;
  ASSERT_EQ(1u, products.size());
  ExpectSame(smaller, products[0]);
}
