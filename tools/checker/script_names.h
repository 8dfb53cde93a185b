/* The names the package tools work with: the script's texts, keys and directories,
   and the medium's paths (with slashes). */
#ifndef SCRIPT_NAMES_H
#define SCRIPT_NAMES_H

#include <string>

/* A script directory (backslashes) as a relative path with slashes, without empty and
   "." parts; "" for the root. */
std::string RelativeDir(const std::string &dir);

/* dir + "/" + name, or name alone when dir is the root (""). */
std::string JoinPath(const std::string &dir, const std::string &name);

/* text with the letters A-Z made small. */
std::string Lower(std::string text);

/* A string-table text as the loader has it; "" for an id without one. */
std::string Text(unsigned int id);

/* The section of disk N (from 1): "Disk1" ... */
std::string DiskSection(int disk);

/* 12 for the key "12" that the loader reads as file 12; -1 for a key it never reads. */
long FileNumber(const std::string &key);

#endif
