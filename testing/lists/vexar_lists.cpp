// vexar-lists: the program's server-list, buddy-list and profile files to JSON and back, for tests.
//
//   vexar-lists write servers|buddies|profiles FILE   JSON on standard input
//   vexar-lists read servers|buddies|profiles FILE    JSON on standard output
//   vexar-lists write profile-image FILE              one profile's bare stored image
//
// The documents are described in testing/lists/list_json.h. Exit code 0 on success, 1 on failure
// (said on standard error), 2 on a usage error.
#include <cstdio>
#include <exception>
#include <iostream>
#include <iterator>
#include <string>

#include "testing/lists/json.h"
#include "testing/lists/list_json.h"

namespace {

int Usage() {
    std::fputs(
        "usage: vexar-lists write servers|buddies|profiles|profile-image FILE  (JSON on standard input)\n"
        "       vexar-lists read servers|buddies|profiles FILE  (JSON on standard output)\n",
        stderr);
    return 2;
}

lists::Json ReadInput() {
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    return lists::ParseJson(text);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return Usage();
    const std::string verb = argv[1], kind = argv[2], path = argv[3];
    try {
        if (verb == "write" && kind == "servers")
            lists::WriteServerFile(ReadInput(), path);
        else if (verb == "write" && kind == "buddies")
            lists::WriteBuddyFile(ReadInput(), path);
        else if (verb == "write" && kind == "profiles")
            lists::WriteProfileFile(ReadInput(), path);
        else if (verb == "write" && kind == "profile-image")
            lists::WriteProfileImageFile(ReadInput(), path);
        else if (verb == "read" && kind == "servers")
            std::fputs(lists::WriteJson(lists::ReadServerFile(path)).c_str(), stdout);
        else if (verb == "read" && kind == "buddies")
            std::fputs(lists::WriteJson(lists::ReadBuddyFile(path)).c_str(), stdout);
        else if (verb == "read" && kind == "profiles")
            std::fputs(lists::WriteJson(lists::ReadProfileFile(path)).c_str(), stdout);
        else
            return Usage();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vexar-lists: %s %s %s: %s\n", verb.c_str(), kind.c_str(), path.c_str(), e.what());
        return 1;
    }
    return 0;
}
