#include "FullProject.h"
#include "card/CardImages.h"
#include "card/Crc16.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using Image = std::vector<std::uint8_t>;
using Packer = void (*)(ProjectData&, std::span<std::uint8_t, card::ImageSize>);
using Unpacker = void (*)(ProjectData&, std::span<const std::uint8_t, card::ImageSize>);

constexpr Packer packers[] = {card::packProgramsImage, card::packConfigImage, card::packSequencesImage};
constexpr Unpacker unpackers[] = {card::unpackProgramsImage, card::unpackConfigImage, card::unpackSequencesImage};

ProjectData& fullProject() {
    return testing_support::sharedFullProject();
}

std::vector<Image> packedImages() {
    std::vector<Image> images;
    for (Packer pack : packers) {
        Image image(card::ImageSize, 0xFF);
        pack(fullProject(), std::span<std::uint8_t, card::ImageSize>(image.data(), image.size()));
        images.push_back(std::move(image));
    }
    return images;
}

// The baseline: one plain CRC-16 pass over the three payloads.
void CrcOfThreePayloads(benchmark::State& state) {
    const auto images = packedImages();
    for (auto _ : state) {
        for (const Image& image : images) {
            benchmark::DoNotOptimize(Crc16::compute(std::span(image).first(card::PayloadSize)));
        }
    }
}
BENCHMARK(CrcOfThreePayloads);

// Packing the three checksummed images, each into a buffer pre-filled with 0xFF as the writer does.
void PackThreeImages(benchmark::State& state) {
    ProjectData& project = fullProject();
    Image image(card::ImageSize);
    for (auto _ : state) {
        for (Packer pack : packers) {
            std::fill(image.begin(), image.end(), 0xFF);
            pack(project, std::span<std::uint8_t, card::ImageSize>(image.data(), image.size()));
        }
        benchmark::DoNotOptimize(image.data());
    }
}
BENCHMARK(PackThreeImages);

// Reading them back as the card reader does: the checksum test, then the unpacking.
void UnpackThreeImages(benchmark::State& state) {
    const auto images = packedImages();
    ProjectData project;
    for (auto _ : state) {
        for (std::size_t i = 0; i < images.size(); ++i) {
            const std::span<const std::uint8_t, card::ImageSize> image(images[i].data(), card::ImageSize);
            if (card::checksumMatches(image)) {
                unpackers[i](project, image);
            }
        }
        benchmark::DoNotOptimize(project.sequences().usedCount());
    }
}
BENCHMARK(UnpackThreeImages);

} // namespace
} // namespace tolvane
