// Writes the bash completion of the program, made from its command table, to the file named.
#include <cstdio>
#include <string>

#include "device/SafeFile.h"
#include "qubset/Verbs.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PROGRAM OUT\n", argc > 0 ? argv[0] : "completion");
        return 2;
    }
    return WriteWholeFile(argv[2], verbs::BashCompletion(argv[1])) == FileResult::Done ? 0 : 1;
}
