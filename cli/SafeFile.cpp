#include "cli/SafeFile.h"

#include "cli/OutputFile.h"

void WriteFileAtomically(const std::string &path, const std::string &bytes) {
    TOutputFile file(path);
    file.Write(bytes);
    file.Commit();
}
