// Fuzz target for the report decoder. Built with clang and
// -fsanitize=fuzzer it is a libFuzzer target; otherwise it replays the files
// named on its command line (or standard input) through the same entry.

#include "decoder.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

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
    QString report =
        QString::fromLatin1(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString result = decoder.GetTelNo(model, report);
    for (QChar c : result) {
        if (!c.isDigit() && result != QLatin1String("999999") &&
            result != QLatin1String("888888")) {
            // Only the first report of a run may keep other characters.
            break;
        }
    }
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
