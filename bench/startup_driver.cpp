// Starts two programs a given number of times each, the pair in random order in every round, and
// reports for each the median wall time from spawn to exit and the median peak resident memory,
// and their ratios.
//   startup_driver RUNS NAME PROGRAM BASELINE_NAME BASELINE_PROGRAM

#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <spawn.h>
#include <string>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr unsigned TimeoutSeconds = 30;

struct Sample
{
    double milliseconds;
    long peakKilobytes;
};

void onAlarm(int) {}

// One start of the program; false when it could not be started, failed or hung.
bool measure(const std::string &program, Sample &sample)
{
    char *const arguments[] = {const_cast<char *>(program.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (const int error = posix_spawn(&pid, program.c_str(), nullptr, nullptr, arguments, environ);
        error != 0) {
        std::fprintf(stderr, "%s: cannot start: %s\n", program.c_str(), std::strerror(error));
        return false;
    }
    alarm(TimeoutSeconds);
    int status = 0;
    rusage usage{};
    pid_t waited = wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    alarm(0);
    if (waited < 0 && errno == EINTR) {
        std::fprintf(stderr, "%s: no first paint within %u s\n", program.c_str(), TimeoutSeconds);
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        return false;
    }
    if (waited != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s: did not exit cleanly (status %d)\n", program.c_str(), status);
        return false;
    }
    sample.milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
    sample.peakKilobytes = usage.ru_maxrss;
    return true;
}

template <typename T> double median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? double(values[n / 2]) : (double(values[n / 2 - 1]) + double(values[n / 2])) / 2;
}

struct Series
{
    std::string name;
    std::string program;
    std::vector<double> milliseconds;
    std::vector<long> peakKilobytes;
};

void print(const Series &s)
{
    std::printf("  %-44s %9.1f ms (min %.1f, max %.1f)\n",
                (s.name + " start to first paint").c_str(), median(s.milliseconds),
                *std::min_element(s.milliseconds.begin(), s.milliseconds.end()),
                *std::max_element(s.milliseconds.begin(), s.milliseconds.end()));
    std::printf("  %-44s %9.1f MiB\n", (s.name + " peak resident memory").c_str(),
                median(s.peakKilobytes) / 1024);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 6 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: %s RUNS NAME PROGRAM BASELINE_NAME BASELINE_PROGRAM\n",
                     argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    struct sigaction action
    {};
    action.sa_handler = onAlarm;
    sigaction(SIGALRM, &action, nullptr);

    Series measured{argv[2], argv[3], {}, {}};
    Series baseline{argv[4], argv[5], {}, {}};
    // One unmeasured start of each first, so that both find the same warm caches.
    for (Series *s : {&measured, &baseline}) {
        Sample sample{};
        if (!measure(s->program, sample))
            return 1;
    }
    // Each round starts the two in a random order, so that neither always follows the other.
    std::mt19937 random(std::random_device{}());
    for (int run = 0; run < runs; ++run) {
        std::array<Series *, 2> order{&measured, &baseline};
        std::shuffle(order.begin(), order.end(), random);
        for (Series *s : order) {
            Sample sample{};
            if (!measure(s->program, sample))
                return 1;
            s->milliseconds.push_back(sample.milliseconds);
            s->peakKilobytes.push_back(sample.peakKilobytes);
        }
    }

    std::printf("\nSummary: start-up, %d runs each in random order, medians\n", runs);
    print(measured);
    print(baseline);
    std::printf("  %-44s %9.2f   (target <= 1.05)\n",
                ("ratio time " + measured.name + " / " + baseline.name).c_str(),
                median(measured.milliseconds) / median(baseline.milliseconds));
    std::printf("  %-44s %9.2f   (target <= 1.05)\n",
                ("ratio memory " + measured.name + " / " + baseline.name).c_str(),
                median(measured.peakKilobytes) / median(baseline.peakKilobytes));
    return 0;
}
