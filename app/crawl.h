// One crawl of a note page: the grab button's handler and the worker's body.
#pragma once

#include "text/text.h"

// The cookie line every page request carries unchanged: "Cookie: " and eight
// name=value pairs, 1018 bytes of printable ASCII.
extern const Text kCrawlCookieHeader;

// Starts one worker on CrawlNote and returns at once.
void LaunchCrawl();
// Fetches the note in the link box and saves its pictures; runs on a worker thread.
void CrawlNote();
