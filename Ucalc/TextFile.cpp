#include "TextFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace halovane {

namespace fs = std::filesystem;

namespace {

std::string Reason() {
    const int code = errno;
    return code != 0 ? std::string(std::strerror(code)) : std::string("input/output error");
}

std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    std::ostringstream name;
    name << path << ".~" << std::hex << random() << '-' << counter++;
    return name.str();
}

}  // namespace

std::string WriteFileReplacing(const std::string& path, const std::string& content) {
    if (path.empty()) return "No file name was given.";
    std::error_code ec;
    if (fs::is_directory(path, ec)) return "Could not write " + path + ": it is a folder.";
    const std::string temporary = TemporaryName(path);
    {
        errno = 0;
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return "Could not write " + path + ": " + Reason();
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            const std::string reason = Reason();
            out.close();
            fs::remove(temporary, ec);
            return "Could not write " + path + ": " + reason;
        }
        out.close();
        if (!out) {
            const std::string reason = Reason();
            fs::remove(temporary, ec);
            return "Could not write " + path + ": " + reason;
        }
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return "Could not write " + path + ": " + ec.message();
    }
    return std::string();
}

bool ReadWholeFile(const std::string& path, std::string& content, std::string& error) {
    errno = 0;
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        error = "Could not read " + path + ": it is a folder.";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Could not read " + path + ": " + Reason();
        return false;
    }
    // One read of the whole size where the size is known; then whatever
    // follows (a file that grows, or a stream without a size).
    std::string text;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0 && in) {
        text.resize(static_cast<size_t>(size));
        in.read(&text[0], static_cast<std::streamsize>(size));
        text.resize(static_cast<size_t>(in.gcount()));
    }
    in.clear();
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) text.append(chunk, static_cast<size_t>(in.gcount()));
    if (in.bad()) {
        error = "Could not read " + path + ": " + Reason();
        return false;
    }
    content = std::move(text);
    return true;
}

LineReader::LineReader(const std::string& text) : text_(&text) {
    const size_t ends = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    count_ = static_cast<int>(ends + (!text.empty() && text.back() != '\n' ? 1 : 0));
}

const std::string& LineReader::Next() {
    ++lineNumber_;
    if (lineNumber_ > count_) {
        line_.clear();
        return line_;
    }
    const std::string& text = *text_;
    const size_t start = next_;
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t length = end - start;
    if (length > 0 && text[start + length - 1] == '\r') --length;
    line_.assign(text, start, length);
    next_ = end + 1;
    return line_;
}

void LineReader::Skip(int count) {
    for (int k = 0; k < count; ++k) Next();
}

std::string ChangeExtension(const std::string& path, const std::string& extension) {
    fs::path p(path);
    p.replace_extension(extension);
    return p.string();
}

}  // namespace halovane
