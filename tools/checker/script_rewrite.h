/* A setup script with some of its sections written anew, the rest kept line for line. */
#ifndef SCRIPT_REWRITE_H
#define SCRIPT_REWRITE_H

#include <string>
#include <vector>

/* Sections written anew in place of the ones of those names: the first section of any
   of the names gives the place for text (whole lines, with their headers); every
   section of the names is left out. */
struct NewSections {
    std::vector<std::string> names;
    std::string text;
};

/* The script's text with each group's sections replaced, in CR LF lines; a group
   whose sections the script lacks goes at its end. */
std::string RewriteScript(const std::string &script, const std::vector<NewSections> &groups);

#endif
