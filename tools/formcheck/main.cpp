// formcheck: reads form files the way a program would bring in another
// application's forms (leniently), and says for each what was kept and what
// was left out, line by line, and whether what was kept writes and reads
// back unchanged.
//
//     formcheck [--codepage N] [--summary] [--write] FILE...
//
// --codepage N  the code page of files that are not UTF-8 and whose fonts
//               name none (Windows-1252 otherwise)
// --summary     one line per file
// --write       also print the form as the framework writes it
//
// Exit status: 0 when every file was read, 1 when one could not be read (or
// what was kept did not read back the same), 2 for a bad command line.

#include <QzComponents5/QzRegister.h>
#include <cstdlib>
#include <framework/classes/FormFile.h>
#include <framework/classes/FormText.h>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace {

using fw::String;

struct TOptions {
    bool Summary = false;
    bool Write = false;
};

struct TCounts {
    int Objects = 0;
    int Props = 0;
};

void Count(const fw::TFormObject& node, TCounts& counts) {
    ++counts.Objects;
    counts.Props += static_cast<int>(node.Props.size());
    for (const fw::TFormObject& child : node.Children)
        Count(child, counts);
}

// The components kept, nested as the writer nests them.
void PrintTree(fw::TComponent* c, fw::TComponent* root, int level) {
    std::cout << String(static_cast<std::size_t>(level) * 2 + 4, ' ')
              << (c->Name().empty() ? String("(no name)") : c->Name()) << ": " << c->ClassName() << "\n";
    c->GetChildren([&](fw::TComponent* child) { PrintTree(child, root, level + 1); }, root);
}

int CountComponents(fw::TComponent* c, fw::TComponent* root) {
    int n = 1;
    c->GetChildren([&](fw::TComponent* child) { n += CountComponents(child, root); }, root);
    return n;
}

// Whether the written text reads back strictly and writes the same again.
String RoundTrip(const String& written) {
    try {
        std::unique_ptr<fw::TComponent> again(fw::ReadComponentFromText(written));
        return fw::WriteComponentToText(again.get()) == written ? String() : String("written differently");
    } catch (const fw::EReadError& e) {
        return e.Message();
    }
}

bool CheckFile(const String& path, const TOptions& options) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cout << path << ": cannot be opened\n";
        return false;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    const String text = buffer.str();
    const int codePage = fw::FormTextCodePage(text);
    const String encoding = codePage == 65001 ? String("UTF-8") : "code page " + std::to_string(codePage);

    TCounts counts;
    try {
        Count(*fw::ParseFormText(text), counts);
    } catch (const fw::EReadError& e) {
        std::cout << path << ": does not parse (" << encoding << "): " << e.Message() << "\n";
        return false;
    }
    fw::TFormSkipList skipped;
    std::unique_ptr<fw::TComponent> root;
    try {
        root.reset(fw::ReadComponentFromText(text, nullptr, &skipped));
    } catch (const fw::EReadError& e) {
        std::cout << path << ": parses (" << encoding << ", " << counts.Objects << " objects, "
                  << counts.Props << " properties) but does not read: " << e.Message() << "\n";
        return false;
    }
    const String written = fw::WriteComponentToText(root.get());
    const String roundTrip = RoundTrip(written);
    const int kept = CountComponents(root.get(), root.get());
    if (options.Summary) {
        std::cout << path << ": read (" << encoding << "), " << kept << " of " << counts.Objects
                  << " objects kept, " << skipped.size() << (skipped.size() == 1 ? " thing" : " things")
                  << " skipped, round trip "
                  << (roundTrip.empty() ? String("unchanged") : "FAILED: " + roundTrip) << "\n";
    } else {
        std::cout << path << " (" << encoding << ")\n";
        std::cout << "  parsed: " << counts.Objects << " objects, " << counts.Props << " property lines\n";
        std::cout << "  kept: " << kept << " of " << counts.Objects << " objects\n";
        PrintTree(root.get(), root.get(), 0);
        std::cout << "  skipped: " << skipped.size() << "\n";
        for (const fw::TFormSkipped& s : skipped)
            std::cout << "    line " << s.Line << ": " << s.What << "\n";
        std::cout << "  round trip: "
                  << (roundTrip.empty() ? String("what was kept writes and reads back unchanged")
                                        : "FAILED: " + roundTrip)
                  << "\n";
    }
    if (options.Write) std::cout << written;
    return roundTrip.empty();
}

int Usage() {
    std::cerr << "usage: formcheck [--codepage N] [--summary] [--write] FILE...\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    std::vector<fw::String> files;
    for (int i = 1; i < argc; ++i) {
        const fw::String arg = argv[i];
        if (arg == "--summary") {
            options.Summary = true;
        } else if (arg == "--write") {
            options.Write = true;
        } else if (arg == "--codepage" && i + 1 < argc) {
            try {
                fw::SetFormFileCodePage(std::stoi(argv[++i]));
            } catch (const std::exception& e) {
                std::cerr << "formcheck: --codepage: " << e.what() << "\n";
                return 2;
            }
        } else if (arg.rfind("--", 0) == 0) {
            return Usage();
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) return Usage();
    qz::RegisterPackageClasses();
    bool all = true;
    for (const fw::String& file : files)
        all = CheckFile(file, options) && all;
    return all ? 0 : 1;
}
