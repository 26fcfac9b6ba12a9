#include "app/icon.h"

#include <cstdint>

namespace inkmoss {

namespace {

std::uint32_t little(std::span<const unsigned char> bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
    return value;
}

constexpr std::size_t kHeader = 6;
constexpr std::size_t kEntry = 16;

}  // namespace

std::optional<IconImage> chooseIconImage(std::span<const unsigned char> ico, int preferredWidth) {
    if (ico.size() < kHeader || little(ico, 0, 2) != 0 || little(ico, 2, 2) != 1) return std::nullopt;
    const std::size_t count = little(ico, 4, 2);
    if (count == 0 || ico.size() < kHeader + count * kEntry) return std::nullopt;

    std::size_t chosen = count - 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kHeader + i * kEntry;
        const int width = ico[entry] == 0 ? 256 : ico[entry];
        if (width == preferredWidth && ico[entry + 2] >= 16) {
            chosen = i;
            break;
        }
    }
    const std::size_t entry = kHeader + chosen * kEntry;
    const std::uint64_t length = little(ico, entry + 8, 4);
    const std::uint64_t offset = little(ico, entry + 12, 4);
    if (length == 0 || offset + length > ico.size()) return std::nullopt;
    return IconImage{ico.subspan(offset, length),
                     {ico[entry] == 0 ? 256 : ico[entry], ico[entry + 1] == 0 ? 256 : ico[entry + 1]}};
}

}  // namespace inkmoss
