// QR codes for report pages, encoded the way the QR code library does by default
// (segment mode by content, medium error correction boosted while the data fits,
// the smallest version, the mask with the lowest penalty) but several times
// faster: every page of a long report carries its own code.
//
// The library scores all eight masks on its bit-packed symbol. Here the library
// encodes the symbol once, the eight masked variants are scored on an unpacked
// copy, and the winning mask is applied to the library's symbol. Thread-safe:
// each thread keeps its own tables.
#pragma once

#include <cstdint>

// Encodes `text` (NUL-terminated) into `qrcode` exactly as
//   qrcodegen_encodeText(text, temp, qrcode, qrcodegen_Ecc_MEDIUM, qrcodegen_VERSION_MIN,
//                        qrcodegen_VERSION_MAX, qrcodegen_Mask_AUTO, true)
// does; both buffers hold qrcodegen_BUFFER_LEN_MAX bytes and `temp` is clobbered.
// False, with qrcode[0] == 0, when the text fits no version.
bool EncodeQrText(const char* text, uint8_t qrcode[], uint8_t temp[]);

// The mask the library's automatic choice picks for the symbol in `qrcode`
// (encoded by the library with any fixed mask): the lowest penalty score, the
// lower number on equal scores.
int LowestPenaltyQrMask(const uint8_t qrcode[]);

// Rewrites the symbol in `qrcode` (encoded by the library with any fixed mask)
// as the library encodes it with `mask` (0 to 7): the data modules and the
// format bits change, the function patterns stay.
void RemaskQrCode(uint8_t qrcode[], int mask);
