// Work done on several threads and handed on in order: job i is produced on any thread, and
// the calling thread consumes the results one by one in job order, so what is written never
// depends on the number of threads. At most `window` results wait to be consumed at a time,
// which bounds the memory held.
#ifndef STARVANE_TEXGEN_ORDERED_WORK_H
#define STARVANE_TEXGEN_ORDERED_WORK_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace texgen {

// Makes the result of job `index` in `out` (empty on entry); may run on any thread.
using ProduceJob = std::function<void(size_t index, std::vector<uint8_t>& out)>;
// Takes the result of job `index` on the calling thread, in job order; false stops the work.
using ConsumeJob = std::function<bool(size_t index, std::vector<uint8_t>& out)>;

// Runs `count` jobs on `workers` threads, the calling thread included (fewer when threads
// cannot be started). Returns false when a job threw or a consumer stopped the work.
bool run_in_order(size_t count, unsigned workers, size_t window, const ProduceJob& produce,
                  const ConsumeJob& consume);

}  // namespace texgen

#endif
