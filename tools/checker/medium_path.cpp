/* Script directories as paths of the medium; see the header. */
#include "medium_path.h"

std::string RelativeDir(const std::string &dir)
{
    std::string result, part;
    for (size_t i = 0; i <= dir.size(); i++) {
        if (i < dir.size() && dir[i] != '\\' && dir[i] != '/') {
            part += dir[i];
            continue;
        }
        if (!part.empty() && part != ".")
            result += (result.empty() ? "" : "/") + part;
        part.clear();
    }
    return result;
}

std::string JoinPath(const std::string &dir, const std::string &name)
{
    return dir.empty() ? name : dir + "/" + name;
}
