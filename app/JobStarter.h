#pragma once

#include <functional>
#include <utility>
#include <variant>

#include "processing/JobExecutor.h"
#include "processing/JobPlan.h"

namespace tarvex {

// A planned job as the job display hands it on.
using PlannedJob = std::variant<SplitPlan, JoinPlan>;

// Hands a planned job to the executor; true when it started. The window uses
// startOnExecutor; a caller that needs a job to stand still (started, and
// reporting nothing until it is stopped) gives one that does not start it.
using JobStarter = std::function<bool(JobExecutor&, PlannedJob, JobExecutor::Options)>;

inline bool startOnExecutor(JobExecutor& executor, PlannedJob job, JobExecutor::Options options) {
  return std::visit([&](auto& plan) { return executor.start(std::move(plan), options); }, job);
}

}  // namespace tarvex
