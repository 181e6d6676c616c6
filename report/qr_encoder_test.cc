#include "report/qr_encoder.h"

#include <gtest/gtest.h>
#include <qrcodegen.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The size byte and the packed modules of a symbol; empty when encoding failed.
std::vector<uint8_t> Symbol(bool ok, const uint8_t* qrcode) {
  if (!ok) return {};
  return std::vector<uint8_t>(qrcode, qrcode + 1 + (qrcode[0] * qrcode[0] + 7) / 8);
}

std::vector<uint8_t> Library(const std::string& text, int mask = qrcodegen_Mask_AUTO) {
  uint8_t qrcode[qrcodegen_BUFFER_LEN_MAX], temp[qrcodegen_BUFFER_LEN_MAX];
  return Symbol(qrcodegen_encodeText(text.c_str(), temp, qrcode, qrcodegen_Ecc_MEDIUM, 1, 40,
                                     static_cast<qrcodegen_Mask>(mask), true),
                qrcode);
}

std::vector<uint8_t> Ours(const std::string& text) {
  uint8_t qrcode[qrcodegen_BUFFER_LEN_MAX], temp[qrcodegen_BUFFER_LEN_MAX];
  return Symbol(EncodeQrText(text.c_str(), qrcode, temp), qrcode);
}

// The mask a symbol carries, read from its first copy of the format bits.
int MaskOf(const std::vector<uint8_t>& symbol) {
  static const int kX[15] = {8, 8, 8, 8, 8, 8, 8, 8, 7, 5, 4, 3, 2, 1, 0};
  static const int kY[15] = {0, 1, 2, 3, 4, 5, 7, 8, 8, 8, 8, 8, 8, 8, 8};
  int bits = 0;
  for (int i = 0; i < 15; ++i) bits |= qrcodegen_getModule(symbol.data(), kX[i], kY[i]) << i;
  return ((bits ^ 0x5412) >> 10) & 7;
}

TEST(QrEncoderTest, SymbolEqualsTheLibrarysDefaultEncodingForEveryVersionAndMask) {
  // Texts of every segment kind and of lengths that reach every version (capacities
  // grow by less than 5 % from one version to the next), and texts that fit none.
  std::vector<std::string> texts = {"", "HELLO WORLD", std::string(2332, 'x'), std::string(7090,
      '7')};
  for (int page : {1, 99, 100, 123456})
    texts.push_back(std::to_string(page) + ";Stock list;Thursday, March 04, 2021 - 15:30:00");
  std::mt19937 random(4);
  const auto random_text = [&](size_t length, const std::string& alphabet) {
    std::string text;
    while (text.size() < length) text += alphabet[random() % alphabet.size()];
    return text;
  };
  std::string bytes;
  for (int i = 1; i < 256; ++i) bytes += static_cast<char>(i);
  for (size_t length = 1; length <= 2331; length += length / 40 + 1)
    texts.push_back(random_text(length, bytes));
  for (size_t length = 1; length <= 3000; length = length * 5 / 4 + 1) {
    texts.push_back(random_text(length, "0123456789"));
    texts.push_back(random_text(length, "ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:"));
  }
  bool mask_seen[8] = {}, version_seen[41] = {};
  for (const std::string& text : texts) {
    const std::vector<uint8_t> expected = Library(text);
    ASSERT_EQ(expected, Ours(text)) << text.size() << " bytes: " << text.substr(0, 60);
    if (expected.empty()) continue;
    mask_seen[MaskOf(expected)] = version_seen[(expected[0] - 17) / 4] = true;
  }
  // The samples must reach every mask and every version to prove anything: the
  // symbol is encoded with mask 0 and remasked, so each chosen mask is checked too.
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(mask_seen[i]) << "mask " << i;
  for (int i = 1; i <= 40; ++i) EXPECT_TRUE(version_seen[i]) << "version " << i;
}

}  // namespace
