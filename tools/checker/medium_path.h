/* Script directories as paths of the medium, with slashes. */
#ifndef MEDIUM_PATH_H
#define MEDIUM_PATH_H

#include <string>

/* A script directory (backslashes) as a relative path with slashes, without empty and
   "." parts; "" for the root. */
std::string RelativeDir(const std::string &dir);

/* dir + "/" + name, or name alone when dir is the root (""). */
std::string JoinPath(const std::string &dir, const std::string &name);

#endif
