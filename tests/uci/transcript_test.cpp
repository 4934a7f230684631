// Transcripts: sessions with the real binary kept as text under tests/data/transcripts, one test
// each (Suite/Name.txt is Suite.Name). The format is described in the README next to them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "uci/engine_process.h"

namespace fs = std::filesystem;

namespace {

const fs::path TRANSCRIPTS = fs::path(TEST_DATA_DIR) / "transcripts";
constexpr int LINE_TIMEOUT_MS = 120000;

// Whole-line match: <n> is an integer, <*> any text, <a|b> either word; everything else is literal.
bool matches(const std::string& pat, size_t p, const std::string& text, size_t t) {
    for (; p < pat.size(); ++p, ++t) {
        const size_t close = pat[p] == '<' ? pat.find('>', p) : std::string::npos;
        const std::string token = close == std::string::npos ? "" : pat.substr(p + 1, close - p - 1);
        if (token == "*") {
            for (size_t end = t; end <= text.size(); ++end)
                if (matches(pat, close + 1, text, end)) return true;
            return false;
        }
        if (token == "n") {
            size_t end = t + (t < text.size() && text[t] == '-'), digits = end;
            while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
            return end > digits && matches(pat, close + 1, text, end);
        }
        if (token.find('|') != std::string::npos) {
            std::istringstream words(token);
            for (std::string word; std::getline(words, word, '|');)
                if (text.compare(t, word.size(), word) == 0 && matches(pat, close + 1, text, t + word.size()))
                    return true;
            return false;
        }
        if (t >= text.size() || text[t] != pat[p]) return false;
    }
    return t == text.size();
}

void replace_all(std::string& s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
}

// One transcript being played. Lines come from the engine's output, or from a file after "! file".
struct Session {
    explicit Session(std::string path) : transcript(std::move(path)), dir(make_temp_dir()) {}
    std::string transcript, dir;
    int line = 0;
    std::vector<std::string> args;
    std::unique_ptr<EngineProcess> engine;
    bool reading_file = false;
    std::vector<std::string> file_lines;
    size_t file_at = 0;
    bool skipping = false;
    std::string skip;  // what the lines let pass by "..." must match

    EngineProcess& running() {
        if (!engine) engine = std::make_unique<EngineProcess>(args, dir);
        return *engine;
    }
    bool next(std::string& got) {
        if (!reading_file) return running().read_line(got, LINE_TIMEOUT_MS);
        if (file_at == file_lines.size()) return false;
        got = file_lines[file_at++];
        return true;
    }
    bool mismatch(const std::string& expected, const std::string& actual) {
        ADD_FAILURE_AT(transcript.c_str(), line)
            << "the transcript and the engine differ\n  expected: " << expected << "\n    actual: " << actual;
        return false;
    }
    bool expect(const std::string& pattern) {
        for (std::string got;;) {
            if (!next(got)) return mismatch(pattern, reading_file ? "<end of file>" : "<no more output>");
            if (matches(pattern, 0, got, 0)) return skipping = false, true;
            if (!skipping || !matches(skip, 0, got, 0)) return mismatch(pattern, got);
        }
    }
    // The rest of the file, or of the output once the input is closed, may hold skipped lines only.
    bool finish() {
        if (!reading_file && !engine) return true;
        if (!reading_file) engine->close_input();
        for (std::string got; next(got);)
            if (!skipping || !matches(skip, 0, got, 0))
                return mismatch(reading_file ? "<end of file>" : "<end of output>", got);
        skipping = false;
        if (reading_file) return reading_file = false, true;
        const int status = engine->wait_exit();
        engine.reset();
        return status == 0 || mismatch("exit status 0", "exit status " + std::to_string(status));
    }
    bool directive(const std::string& text) {
        const std::string word = text.substr(0, text.find(' '));
        const std::string rest = text.size() > word.size() ? text.substr(word.size() + 1) : "";
        if (word == "args") {
            std::istringstream words(rest);
            args.assign(std::istream_iterator<std::string>(words), {});
        } else if (word == "restart") {
            return finish();
        } else if (word == "copy") {
            const fs::path target = fs::path(dir) / rest.substr(rest.find(' ') + 1);
            fs::create_directories(target.parent_path());
            fs::copy_file(fs::path(TEST_DATA_DIR) / rest.substr(0, rest.find(' ')), target);
        } else if (word == "mkdir") {
            fs::create_directories(fs::path(dir) / rest);
        } else if (word == "remove") {
            fs::remove(fs::path(dir) / rest);
        } else if (word == "file") {
            file_lines = read_file_lines((fs::path(dir) / rest).string());
            file_at = 0;
            reading_file = true;
        } else {
            return mismatch("a directive", text);
        }
        return true;
    }
};

void play(const fs::path& path) {
    Session s(path.string());
    std::ifstream in(path);
    bool ok = true;
    for (std::string text; ok && std::getline(in, text);) {
        ++s.line;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        replace_all(text, "$DATA", TEST_DATA_DIR);
        replace_all(text, "$DIR", s.dir);
        const std::string rest = text.size() > 2 ? text.substr(2) : "";
        if (text.empty() || text[0] == '#') continue;
        if (text[0] == '>' || text[0] == '!') {
            if (s.reading_file) ok = s.finish();
            if (ok && text[0] == '>') s.running().send(rest);
            if (ok && text[0] == '!') ok = s.directive(rest);
        } else if (text[0] == '<') {
            ok = s.expect(rest);
        } else if (text.compare(0, 3, "...") == 0) {
            s.skipping = true;
            s.skip = text.size() > 4 ? text.substr(4) : "<*>";
        } else {
            ok = s.mismatch("a transcript line", text);
        }
    }
    if (ok && s.reading_file) ok = s.finish();
    if (ok) s.finish();
    s.engine.reset();
    std::error_code ignored;
    fs::remove_all(s.dir, ignored);
}

struct TranscriptTest : ::testing::Test {
    explicit TranscriptTest(fs::path file) : file(std::move(file)) {}
    void TestBody() override { play(file); }
    fs::path file;
};

const bool registered = [] {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(TRANSCRIPTS))
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files)
        ::testing::RegisterTest(f.parent_path().filename().string().c_str(), f.stem().string().c_str(), nullptr,
                                nullptr, f.string().c_str(), 1, [f]() -> ::testing::Test* { return new TranscriptTest(f); });
    return true;
}();

}  // namespace
