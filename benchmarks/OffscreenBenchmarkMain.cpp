// main() for the benchmarks that drive the real editor window: Qt runs offscreen unless a platform
// is named, and the application lives for the whole run. Fixtures that hold widgets end themselves
// through qAddPostRoutine, which runs while the application still exists.
#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
