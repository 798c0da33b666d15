#pragma once

#include <atomic>
#include <thread>

// Samples the resident memory of this process and all its descendants (the
// render workers) and keeps the peak of their sum. Linux only: elsewhere the
// peak stays 0.
class TreeRss
{
public:
    TreeRss();
    ~TreeRss();
    TreeRss(const TreeRss &) = delete;
    TreeRss &operator=(const TreeRss &) = delete;

    long long peakKb() const { return peak; }

private:
    void sample();

    std::atomic_bool running{true};
    std::atomic<long long> peak{0};
    std::thread sampler;
};
