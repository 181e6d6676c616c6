#include "report/qr_encoder.h"

#include <gtest/gtest.h>
#include <qrcodegen.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Symbol {
  bool ok = false;
  std::vector<uint8_t> bytes;  // the size byte and the packed modules
};

Symbol Keep(bool ok, const uint8_t* qrcode) {
  Symbol symbol;
  symbol.ok = ok;
  const int size = qrcode[0];
  symbol.bytes.assign(qrcode, qrcode + 1 + (size * size + 7) / 8);
  return symbol;
}

Symbol LibraryDefault(const std::string& text, qrcodegen_Mask mask = qrcodegen_Mask_AUTO) {
  uint8_t qrcode[qrcodegen_BUFFER_LEN_MAX], temp[qrcodegen_BUFFER_LEN_MAX];
  const bool ok = qrcodegen_encodeText(text.c_str(), temp, qrcode, qrcodegen_Ecc_MEDIUM,
                                       qrcodegen_VERSION_MIN, qrcodegen_VERSION_MAX, mask, true);
  return Keep(ok, qrcode);
}

Symbol Ours(const std::string& text) {
  uint8_t qrcode[qrcodegen_BUFFER_LEN_MAX], temp[qrcodegen_BUFFER_LEN_MAX];
  const bool ok = EncodeQrText(text.c_str(), qrcode, temp);
  return Keep(ok, qrcode);
}

// The mask a symbol carries, read from its first copy of the format bits.
int MaskOf(const Symbol& symbol) {
  static const int kX[15] = {8, 8, 8, 8, 8, 8, 8, 8, 7, 5, 4, 3, 2, 1, 0};
  static const int kY[15] = {0, 1, 2, 3, 4, 5, 7, 8, 8, 8, 8, 8, 8, 8, 8};
  int bits = 0;
  for (int i = 0; i < 15; ++i) bits |= qrcodegen_getModule(symbol.bytes.data(), kX[i], kY[i]) << i;
  return ((bits ^ 0x5412) >> 10) & 7;
}

// Texts of every segment kind and of lengths that reach every version, the
// page texts of a long report, and random bytes.
std::vector<std::string> SampleTexts() {
  std::vector<std::string> texts = {"", "0", "A", "a", "HELLO WORLD", "https://example.org/"};
  for (int page = 1; page <= 400; ++page)
    texts.push_back(std::to_string(page) + ";Stock list;Thursday, March 04, 2021 - 15:30:00");
  for (int page : {999, 1000, 9999, 10000, 123456})
    texts.push_back(std::to_string(page) + ";;Not-Set");
  std::mt19937 random(4);
  const auto random_text = [&](size_t length, const char* alphabet, size_t letters) {
    std::string text;
    for (size_t i = 0; i < length; ++i) text += alphabet[random() % letters];
    return text;
  };
  char bytes[255];
  for (int i = 0; i < 255; ++i) bytes[i] = static_cast<char>(i + 1);
  // Capacities grow by less than 5 % from one version to the next.
  for (size_t length = 1; length <= 2331; length += length / 40 + 1)
    texts.push_back(random_text(length, bytes, sizeof bytes));
  for (size_t length = 1; length <= 3000; length = length * 5 / 4 + 1) {
    texts.push_back(random_text(length, "0123456789", 10));
    texts.push_back(random_text(length, "ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:", 35));
  }
  return texts;
}

TEST(QrEncoderTest, SymbolEqualsTheLibrarysDefaultEncoding) {
  bool mask_seen[8] = {};
  bool version_seen[41] = {};
  for (const std::string& text : SampleTexts()) {
    const Symbol expected = LibraryDefault(text);
    const Symbol actual = Ours(text);
    ASSERT_EQ(expected.ok, actual.ok) << text.size() << " bytes: " << text.substr(0, 60);
    if (!expected.ok) continue;
    ASSERT_EQ(expected.bytes, actual.bytes) << text.size() << " bytes: " << text.substr(0, 60);
    mask_seen[MaskOf(expected)] = true;
    version_seen[(expected.bytes[0] - 17) / 4] = true;
  }
  // The samples must reach every mask and every version to prove anything.
  for (int mask = 0; mask < 8; ++mask) EXPECT_TRUE(mask_seen[mask]) << "mask " << mask;
  for (int version = 1; version <= 40; ++version)
    EXPECT_TRUE(version_seen[version]) << "version " << version;
}

TEST(QrEncoderTest, TextsThatFitNoVersionFailLikeTheLibrary) {
  for (const std::string& text :
       {std::string(2332, 'x'), std::string(7090, '7'), std::string(4297, 'X')}) {
    const Symbol expected = LibraryDefault(text);
    ASSERT_FALSE(expected.ok);
    uint8_t qrcode[qrcodegen_BUFFER_LEN_MAX], temp[qrcodegen_BUFFER_LEN_MAX];
    qrcode[0] = 99;
    EXPECT_FALSE(EncodeQrText(text.c_str(), qrcode, temp));
    EXPECT_EQ(0, qrcode[0]);
  }
}

TEST(QrEncoderTest, RemaskedSymbolEqualsTheLibrarysForEveryVersionAndMask) {
  // One text per version: the longest that fits it at medium error correction.
  std::string letters;
  for (int i = 0; i < 2331; ++i) letters += static_cast<char>('a' + i % 26);
  const auto size_for = [&](size_t length) {
    return LibraryDefault(letters.substr(0, length), qrcodegen_Mask_0).bytes[0];
  };
  for (int version = 1; version <= 40; ++version) {
    size_t low = 0, high = letters.size();  // size_for(low) fits, search the longest
    while (low < high) {
      const size_t middle = (low + high + 1) / 2;
      if (size_for(middle) <= version * 4 + 17) low = middle;
      else high = middle - 1;
    }
    const std::string text = letters.substr(0, low);
    const Symbol from = LibraryDefault(text, static_cast<qrcodegen_Mask>(version % 8));
    ASSERT_EQ(version * 4 + 17, from.bytes[0]);
    for (int mask = 0; mask < 8; ++mask) {
      Symbol remasked = from;
      RemaskQrCode(remasked.bytes.data(), mask);
      EXPECT_EQ(LibraryDefault(text, static_cast<qrcodegen_Mask>(mask)).bytes, remasked.bytes)
          << "version " << version << " mask " << mask;
    }
  }
}

TEST(QrEncoderTest, ThreadsWithSymbolsOfDifferentSizesDoNotDisturbEachOther) {
  // Each thread alternates between two sizes, so a table shared between threads
  // would be rebuilt under the other's feet.
  const std::vector<std::string> texts = {"1;Short;Not-Set", std::string(300, 'm'),
                                          std::string(90, 'k'), std::string(700, '3')};
  std::vector<Symbol> expected;
  for (const std::string& text : texts) expected.push_back(LibraryDefault(text));
  std::vector<int> wrong(2, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 200; ++round) {
        const size_t which = 2 * t + round % 2;
        if (Ours(texts[which]).bytes != expected[which].bytes) ++wrong[t];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(0, wrong[0]);
  EXPECT_EQ(0, wrong[1]);
}

TEST(QrEncoderTest, MaskChoiceDoesNotDependOnTheMaskTheSymbolCarries) {
  for (const std::string& text :
       {std::string("7;Stock;Thursday, March 04, 2021 - 15:30:00"), std::string(150, 'q'),
        std::string(1200, '5'), std::string(2000, 'z')}) {
    const int expected = MaskOf(LibraryDefault(text));
    for (int mask = 0; mask < 8; ++mask) {
      const Symbol symbol = LibraryDefault(text, static_cast<qrcodegen_Mask>(mask));
      ASSERT_EQ(mask, MaskOf(symbol));
      EXPECT_EQ(expected, LowestPenaltyQrMask(symbol.bytes.data()))
          << text.size() << " bytes, carrying mask " << mask;
    }
  }
}

}  // namespace
