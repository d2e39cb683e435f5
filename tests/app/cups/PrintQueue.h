#pragma once
// What the tests' print scheduler knows of a queue's jobs.
#include <string>
#include <vector>

struct TQueuedJob {
    int Id;
    std::string Name;
    bool Finished;  // completed, cancelled or aborted: nothing left to print
};

// Every job the queue has had, oldest first.
std::vector<TQueuedJob> QueueJobs(const std::string& queue);
