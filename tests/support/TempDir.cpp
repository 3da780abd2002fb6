#include "tests/support/TempDir.h"

#include <fstream>
#include <iterator>
#include <random>

namespace {

constexpr int kAttempts = 100;

}  // namespace

// A new folder with a random name: creating it fails when the name is taken, so two tests
// never share one.
TempDir::TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int i = 0; i < kAttempts && m_path.empty(); ++i) {
        const std::filesystem::path candidate = base / ("qubset-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) m_path = candidate;
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
}

bool WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.good();
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
