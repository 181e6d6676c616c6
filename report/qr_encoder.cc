#include "report/qr_encoder.h"

#include <cstdlib>
#include <memory>

#include "report/qrcodegen_library.h"

namespace {

constexpr int kMaxSize = qrcodegen_VERSION_MAX * 4 + 17;
constexpr int kMaskCount = 8;
constexpr int kFormatBits = 15;

// The weights of the four penalty rules.
constexpr long kPenaltyRun = 3;       // five or more modules of one colour in a line
constexpr long kPenaltyBlock = 3;     // a 2 x 2 block of one colour
constexpr long kPenaltyFinder = 40;   // a pattern that looks like a finder
constexpr long kPenaltyBalance = 10;  // per 5 % of imbalance of dark and light

// Everything about one symbol size that does not depend on the data.
struct SymbolTable {
  int size = 0;
  // Per module (index y * size + x): bit k set when mask k inverts the module.
  // Function modules are never inverted.
  uint8_t inverts[kMaxSize * kMaxSize];
  // Where the format bits stand: bit i of the first copy at index i, of the
  // second at index kFormatBits + i.
  int format_x[2 * kFormatBits];
  int format_y[2 * kFormatBits];
};

bool MaskInverts(int mask, int x, int y) {
  switch (mask) {
    case 0: return (x + y) % 2 == 0;
    case 1: return y % 2 == 0;
    case 2: return x % 3 == 0;
    case 3: return (x + y) % 3 == 0;
    case 4: return (x / 3 + y / 2) % 2 == 0;
    case 5: return x * y % 2 + x * y % 3 == 0;
    case 6: return (x * y % 2 + x * y % 3) % 2 == 0;
    default: return ((x + y) % 2 + x * y % 3) % 2 == 0;
  }
}

// The centres of the alignment patterns along either axis.
int AlignmentPositions(int version, int positions[7]) {
  if (version == 1) return 0;
  const int count = version / 7 + 2;
  const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
  for (int i = count - 1, position = version * 4 + 10; i >= 1; --i, position -= step)
    positions[i] = position;
  positions[0] = 6;
  return count;
}

void BuildSymbolTable(int size, SymbolTable* table) {
  const int version = (size - 17) / 4;
  bool reserved[kMaxSize * kMaxSize] = {};  // function modules
  const auto fill = [&](int left, int top, int width, int height) {
    for (int y = top; y < top + height; ++y) {
      for (int x = left; x < left + width; ++x) reserved[y * size + x] = true;
    }
  };
  fill(6, 0, 1, size);  // timing patterns
  fill(0, 6, size, 1);
  fill(0, 0, 9, 9);  // finders with their separators and format bits
  fill(size - 8, 0, 8, 9);
  fill(0, size - 8, 9, 8);
  int positions[7];
  const int count = AlignmentPositions(version, positions);
  for (int i = 0; i < count; ++i) {
    for (int j = 0; j < count; ++j) {
      const bool on_finder = (i == 0 && j == 0) || (i == 0 && j == count - 1) ||
                             (i == count - 1 && j == 0);
      if (!on_finder) fill(positions[i] - 2, positions[j] - 2, 5, 5);
    }
  }
  if (version >= 7) {  // version information
    fill(size - 11, 0, 3, 6);
    fill(0, size - 11, 6, 3);
  }

  table->size = size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      uint8_t bits = 0;
      if (!reserved[y * size + x]) {
        for (int mask = 0; mask < kMaskCount; ++mask) bits |= MaskInverts(mask, x, y) << mask;
      }
      table->inverts[y * size + x] = bits;
    }
  }
  for (int i = 0; i < kFormatBits; ++i) {
    int x, y;
    if (i <= 5) x = 8, y = i;
    else if (i == 6) x = 8, y = 7;
    else if (i == 7) x = 8, y = 8;
    else if (i == 8) x = 7, y = 8;
    else x = 14 - i, y = 8;
    table->format_x[i] = x;
    table->format_y[i] = y;
    if (i < 8) x = size - 1 - i, y = 8;
    else x = 8, y = size - 15 + i;
    table->format_x[kFormatBits + i] = x;
    table->format_y[kFormatBits + i] = y;
  }
}

// The table of the current symbol size and room for the masked variants, one
// per thread that draws QR codes, on the heap: the other threads of the program
// should not carry them.
struct Workspace {
  SymbolTable table;
  uint8_t plain[kMaxSize * kMaxSize];   // the symbol without any mask
  uint8_t masked[kMaxSize * kMaxSize];  // the variant being scored
};

Workspace& WorkspaceFor(int size) {
  thread_local std::unique_ptr<Workspace> workspace;
  if (workspace == nullptr) workspace = std::make_unique<Workspace>();
  // A report's codes keep one size for pages on end; the table is rebuilt only
  // when the size changes.
  if (workspace->table.size != size) BuildSymbolTable(size, &workspace->table);
  return *workspace;
}

// The 15 format bits, with their error correction, for the error correction
// level bits and mask in `data` (5 bits).
int FormatBitsFor(int data) {
  int remainder = data;
  for (int i = 0; i < 10; ++i) remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537);
  return (data << 10 | remainder) ^ 0x5412;
}

// Runs of one colour and finder-like patterns along one row or column: `line`
// points at its first module, `step` apart. The finder rule sees a light border
// of `size` modules beyond both ends. Works on run lengths, without a branch per
// module: the masks are scored for every page of a report.
long LinePenalty(const uint8_t* line, int step, int size) {
  // Where each run of one colour starts; the last entry is the end of the line.
  int starts[kMaxSize + 1];
  int runs = 1;
  starts[0] = 0;
  for (int i = 1; i < size; ++i) {
    starts[runs] = i;
    runs += line[i * step] != line[(i - 1) * step];
  }
  starts[runs] = size;

  long result = 0;
  // Run lengths from a light one on, light and dark taking turns, with the
  // borders added to the first and last light runs; six zeros stand before.
  int lengths[6 + kMaxSize + 2];
  for (int i = 0; i < 6; ++i) lengths[i] = 0;
  int* const run = lengths + 6;
  int count = 0;
  if (line[0] != 0) run[count++] = size;
  for (int j = 0; j < runs; ++j) {
    const int length = starts[j + 1] - starts[j];
    result += (length >= 5) * (length - 5 + kPenaltyRun);
    run[count++] = length;
  }
  if (line[(size - 1) * step] != 0) run[count++] = 0;
  if (line[0] == 0) run[0] += size;
  run[count - 1] += size;

  // After each light run: dark-light-dark-dark-dark-light-dark in proportion
  // 1:1:3:1:1 with four times the unit of light on one side.
  long finders = 0;
  for (int j = 0; j < count; j += 2) {
    const int n = run[j - 1];
    if (n <= 0 || run[j - 2] != n || run[j - 3] != n * 3 || run[j - 4] != n || run[j - 5] != n)
      continue;
    finders += (run[j] >= n * 4 && run[j - 6] >= n) + (run[j - 6] >= n * 4 && run[j] >= n);
  }
  return result + finders * kPenaltyFinder;
}

long PenaltyScore(const uint8_t* modules, int size) {
  long result = 0;
  for (int i = 0; i < size; ++i) {
    result += LinePenalty(modules + i * size, 1, size);  // row i
    result += LinePenalty(modules + i, size, size);      // column i
  }
  int dark = 0;
  for (int y = 0; y < size; ++y) {
    const uint8_t* row = modules + y * size;
    for (int x = 0; x < size; ++x) dark += row[x];
    if (y == size - 1) break;
    const uint8_t* below = row + size;
    int blocks = 0;
    for (int x = 0; x < size - 1; ++x) {
      const uint8_t color = row[x];
      blocks += (color == row[x + 1]) & (color == below[x]) & (color == below[x + 1]);
    }
    result += blocks * kPenaltyBlock;
  }
  const long total = static_cast<long>(size) * size;
  // The smallest k >= 0 with (45 - 5k) % <= dark share <= (55 + 5k) %.
  const long k = (labs(dark * 20L - total * 10L) + total - 1) / total - 1;
  return result + k * kPenaltyBalance;
}

}  // namespace

namespace {

// The format bits a symbol carries (first copy).
int FormatOf(const uint8_t qrcode[], const SymbolTable& table) {
  int format = 0;
  for (int i = 0; i < kFormatBits; ++i)
    format |= Qrcodegen().qrcodegen_getModule(qrcode, table.format_x[i], table.format_y[i]) << i;
  return format;
}

int MaskOfFormat(int format) { return ((format ^ 0x5412) >> 10) & 7; }
int LevelBitsOfFormat(int format) { return ((format ^ 0x5412) >> 10) & ~7; }

}  // namespace

int LowestPenaltyQrMask(const uint8_t qrcode[]) {
  const int size = Qrcodegen().qrcodegen_getSize(qrcode);
  Workspace& workspace = WorkspaceFor(size);
  const SymbolTable& table = workspace.table;
  const int format = FormatOf(qrcode, table);
  const int mask_in_symbol = MaskOfFormat(format);

  // The symbol without any mask: data modules as the encoder placed them.
  uint8_t* const plain = workspace.plain;
  uint8_t* const masked = workspace.masked;
  const int count = size * size;
  for (int i = 0; i < count; ++i) {
    const int bit = (qrcode[(i >> 3) + 1] >> (i & 7)) & 1;
    plain[i] = static_cast<uint8_t>(bit ^ ((table.inverts[i] >> mask_in_symbol) & 1));
  }

  int best = 0;
  long lowest = 0;
  for (int mask = 0; mask < kMaskCount; ++mask) {
    for (int i = 0; i < count; ++i) masked[i] = plain[i] ^ ((table.inverts[i] >> mask) & 1);
    const int bits = FormatBitsFor(LevelBitsOfFormat(format) | mask);
    for (int i = 0; i < 2 * kFormatBits; ++i) {
      masked[table.format_y[i] * size + table.format_x[i]] = (bits >> (i % kFormatBits)) & 1;
    }
    const long penalty = PenaltyScore(masked, size);
    if (mask == 0 || penalty < lowest) {
      best = mask;
      lowest = penalty;
    }
  }
  return best;
}

void RemaskQrCode(uint8_t qrcode[], int mask) {
  const int size = Qrcodegen().qrcodegen_getSize(qrcode);
  const SymbolTable& table = WorkspaceFor(size).table;
  const int format = FormatOf(qrcode, table);
  const int old_mask = MaskOfFormat(format);
  const int count = size * size;
  for (int i = 0; i < count; ++i) {
    const int flip = ((table.inverts[i] >> old_mask) ^ (table.inverts[i] >> mask)) & 1;
    qrcode[(i >> 3) + 1] ^= static_cast<uint8_t>(flip << (i & 7));
  }
  const int bits = FormatBitsFor(LevelBitsOfFormat(format) | mask);
  for (int i = 0; i < 2 * kFormatBits; ++i) {
    const int index = table.format_y[i] * size + table.format_x[i];
    const uint8_t bit = static_cast<uint8_t>(1 << (index & 7));
    if ((bits >> (i % kFormatBits)) & 1) qrcode[(index >> 3) + 1] |= bit;
    else qrcode[(index >> 3) + 1] &= static_cast<uint8_t>(~bit);
  }
}

bool EncodeQrText(const char* text, uint8_t qrcode[], uint8_t temp[]) {
  if (!Qrcodegen().qrcodegen_encodeText(text, temp, qrcode, qrcodegen_Ecc_MEDIUM,
                                        qrcodegen_VERSION_MIN, qrcodegen_VERSION_MAX,
                                        qrcodegen_Mask_0, true))
    return false;
  const int mask = LowestPenaltyQrMask(qrcode);
  if (mask != 0) RemaskQrCode(qrcode, mask);
  return true;
}
