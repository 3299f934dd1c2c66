// One crawl of a note page: the grab button's handler and the worker's body.
#pragma once

// Starts one worker on CrawlNote and returns at once.
void LaunchCrawl();
// Fetches the note in the link box and saves its pictures; runs on a worker thread.
void CrawlNote();
