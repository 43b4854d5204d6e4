#include "player/document/guid_picture_key.h"

#include <algorithm>

std::array<uint8_t, 16> GuidPictureKey::Bytes(const GUID& guid) {
  std::array<uint8_t, 16> bytes{};
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<uint8_t>(guid.Data1 >> (8 * i));
  for (int i = 0; i < 2; ++i) {
    bytes[4 + i] = static_cast<uint8_t>(guid.Data2 >> (8 * i));
    bytes[6 + i] = static_cast<uint8_t>(guid.Data3 >> (8 * i));
  }
  std::copy(guid.Data4.begin(), guid.Data4.end(), bytes.begin() + 8);
  return bytes;
}
