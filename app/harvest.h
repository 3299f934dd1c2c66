// The text rules that turn a fetched note page into what a crawl saves: the
// folder name, the picture strip, the picture matches, each picture address
// and each file path. No network, no disk; pure but for the RegexObject given.
#pragma once

#include "pattern/regex_object.h"
#include "text/text.h"

// One picture element of the strip; the whole match is used.
extern const Text PicturePattern;

// The page title, percent-decoded and converted from UTF-8, without any '<'.
Text FolderNameFromPage(const Text& page);
// The page after the first picture strip start marker up to the next end
// marker, with every "<i" replaced by CR LF.
Text CutPictureStrip(const Text& page);
// The number of picture elements in the strip; the matches stay in regex.
int FindPictureMatches(RegexObject& regex, const Text& strip);
// The text between the first '(' of the match and the next ')'.
Text PictureAddressFromMatch(const Text& match);
// The address up to its first "/w/", followed by /w/w/h/h/q/q.
Text ResizeImageAddress(const Text& address, int w, int h, int q);
// directory/folder/n.png
Text PictureFilePath(const Text& directory, const Text& folder, int n);
