// Runs a fuzz target without the fuzzing engine, so that the test suite (and its sanitizer
// build) exercises every target on each run: each seed file as it is, then a fixed number
// of inputs made from the seeds by a seeded random mix of byte flips, insertions, deletions,
// duplications, truncations and splices. The same count always gives the same inputs.
//   <program> <count> <seed file or folder>...
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

Bytes readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void collectSeeds(const std::filesystem::path& path, std::vector<Bytes>& seeds)
{
    if (std::filesystem::is_directory(path)) {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files)
            seeds.push_back(readFile(file));
    } else if (std::filesystem::is_regular_file(path)) {
        seeds.push_back(readFile(path));
    } else {
        std::fprintf(stderr, "no seed at %s\n", path.c_str());
        std::exit(2);
    }
}

// Bytes that matter to the formats the targets read.
constexpr uint8_t interesting[] = { 0, '"', ',', '\n', '\r', '<', '>', '/', '=', '{', '}', '[', ']', ':', '-',
    '.', 'e', '0', '9', 0x7f, 0x80, 0xc3, 0xff };

Bytes mutate(const Bytes& seed, const std::vector<Bytes>& seeds, std::mt19937& random)
{
    Bytes input = seed;
    const auto below = [&random](size_t n) { return n == 0 ? size_t(0) : size_t(random() % n); };
    const int steps = 1 + int(below(4));
    for (int step = 0; step < steps; ++step) {
        switch (below(6)) {
        case 0: // flip a bit
            if (!input.empty())
                input[below(input.size())] ^= uint8_t(1u << below(8));
            break;
        case 1: // insert a byte that matters
            input.insert(
                input.begin() + long(below(input.size() + 1)), interesting[below(std::size(interesting))]);
            break;
        case 2: { // delete a range
            if (input.empty())
                break;
            const size_t from = below(input.size());
            const size_t length = 1 + below(std::min<size_t>(16, input.size() - from));
            input.erase(input.begin() + long(from), input.begin() + long(from + length));
            break;
        }
        case 3: { // repeat a range
            if (input.empty() || input.size() > 1 << 20)
                break;
            const size_t from = below(input.size());
            const size_t length = 1 + below(std::min<size_t>(64, input.size() - from));
            const Bytes piece(input.begin() + long(from), input.begin() + long(from + length));
            input.insert(input.begin() + long(below(input.size() + 1)), piece.begin(), piece.end());
            break;
        }
        case 4: // cut the end off
            input.resize(below(input.size() + 1));
            break;
        default: { // splice in part of another seed
            const Bytes& other = seeds[below(seeds.size())];
            if (other.empty())
                break;
            const size_t from = below(other.size());
            const size_t length = 1 + below(other.size() - from);
            input.insert(input.begin() + long(below(input.size() + 1)), other.begin() + long(from),
                other.begin() + long(from + length));
            break;
        }
        }
    }
    return input;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <count> <seed file or folder>...\n", argv[0]);
        return 2;
    }
    const long count = std::strtol(argv[1], nullptr, 10);
    std::vector<Bytes> seeds { Bytes() };
    for (int i = 2; i < argc; ++i)
        collectSeeds(argv[i], seeds);

    for (const Bytes& seed : seeds)
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
    std::mt19937 random(20261207u);
    for (long i = 0; i < count; ++i) {
        const Bytes input = mutate(seeds[size_t(random() % seeds.size())], seeds, random);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%zu seeds and %ld made inputs ran\n", seeds.size(), count);
    return 0;
}
