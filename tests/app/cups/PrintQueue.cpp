#include "PrintQueue.h"

#include <cups/cups.h>

#include <algorithm>

std::vector<TQueuedJob> QueueJobs(const std::string& queue)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ALL);
    std::vector<TQueuedJob> result;
    for (int i = 0; i < count; ++i)
        result.push_back({jobs[i].id, jobs[i].title ? jobs[i].title : "", jobs[i].state >= IPP_JSTATE_CANCELED});
    cupsFreeJobs(count, jobs);
    std::sort(result.begin(), result.end(), [](const TQueuedJob& a, const TQueuedJob& b) { return a.Id < b.Id; });
    return result;
}
