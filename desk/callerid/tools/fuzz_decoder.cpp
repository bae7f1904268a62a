// Fuzz target for the report decoder. Built with clang and
// -fsanitize=fuzzer it is a libFuzzer target; otherwise it replays the files
// named on its command line (or standard input) through the same entry.

#include "decoder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

bool digitsOnly(const QString& s) {
    for (QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
    }
    return true;
}

// A broken property is a finding: stop here so the fuzzer keeps the input.
void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz_decoder: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static callerid::Decoder decoder;
    if (size == 0) {
        return 0;
    }
    // The first byte picks the model; the rest is what the line delivered.
    static const QString models[] = {callerid::models::kInsV8, callerid::models::kInsV30,
                                     callerid::models::kNd30, callerid::models::kAlohaPc1,
                                     QString()};
    const QString& model = models[data[0] % 5];
    const QString input =
        QString::fromLatin1(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QString report = input;
    const bool firstOfRun = decoder.lastNumber().isEmpty();
    const QString result = decoder.GetTelNo(model, report);
    const bool marker = result == callerid::kWithheld || result == callerid::kPublicPhone;

    require(!model.isEmpty() || result.isEmpty(), "an unknown model decoded something");
    require(report.size() <= input.size(), "the report grew");
    // Only the first report of a run through the repeat filter keeps
    // characters other than digits.
    require(marker || digitsOnly(result) || (model == callerid::models::kNd30 && firstOfRun),
            "a result other than digits or a marker");
    require(marker || result.size() <= input.size(), "a result longer than the report");
    return 0;
}

#ifndef DESK_LIBFUZZER
int main(int argc, char** argv) {
    auto run = [](const std::string& bytes) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    };
    if (argc < 2) {
        run(std::string(std::istreambuf_iterator<char>(std::cin), {}));
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        run(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    return 0;
}
#endif
