#include "app/crawl.h"

#include "platform/worker.h"

void LaunchCrawl() { platform::StartWorker(CrawlNote); }

void CrawlNote() {}
