// Typing in the entry box must stay instant with the preview beside it: the
// time from a keystroke to the box and the preview painted, the keystroke
// making a chat message of the game's full 150 characters full of codes and
// symbols, against the same keystroke making 150 plain letters, which show
// no preview.
// The two alternate, keystroke for keystroke, in the real window on a
// private X server. Then, what a box holding a million pasted characters
// costs while the window sits idle with the focus in it.
//
//   build/bench/BenchTyping [seconds at rest, default 10]

#include "app/Application.h"
#include "app/Form1.h"
#include "widgets/PicturePopup.h"
#include "widgets/TextBox.h"
#include "xserver/XvfbSession.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

namespace {

// A code, a symbol and seven letters, over and over.
QString chatMessage(qsizetype length)
{
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += QStringLiteral("^%1%2Veltrane").arg(i % 10).arg(QChar(0x1C + i % 4));
    return text.left(length);
}

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

struct Typing
{
    TextBox* entryText = nullptr;
    PicturePopup* preview = nullptr;
    PaintCounter fieldPaints;
    PaintCounter previewPaints;
    std::vector<double> withPreview; // milliseconds
    std::vector<double> plain;
};

Typing* g_typing = nullptr; // set once in main, before any benchmark runs

// One keystroke at the end of text, in milliseconds until the box, and the
// preview beside it if one shows, have been painted and flushed to the screen.
double keystroke(Typing& typing, const QString& text, bool previewShows)
{
    TextBox& box = *typing.entryText;
    box.setText(text);
    QApplication::processEvents();
    const int field = typing.fieldPaints.paints;
    const int preview = typing.previewPaints.paints;
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(&box, Qt::Key_X);
    while ((typing.fieldPaints.paints == field || (previewShows && typing.previewPaints.paints == preview))
           && clock.elapsed() < 5000)
        QApplication::processEvents();
    const double milliseconds = clock.nsecsElapsed() / 1e6;
    if (typing.preview && typing.preview->isVisible() != previewShows) {
        std::fprintf(stderr, "the preview %s\n", previewShows ? "did not show" : "showed");
        std::exit(1);
    }
    return milliseconds;
}

void KeystrokeToPreview(benchmark::State& state)
{
    Typing& typing = *g_typing;
    const QString coded = chatMessage(149);
    const QString letters = QString(149, u'x');
    for (auto _ : state) {
        const double withPreview = keystroke(typing, coded, true);
        typing.plain.push_back(keystroke(typing, letters, false));
        typing.withPreview.push_back(withPreview);
        state.SetIterationTime(withPreview / 1e3);
    }
}
BENCHMARK(KeystrokeToPreview)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    XvfbSession x;
    if (!x.startForThisProcess()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    QApplication app(argc, argv);
    configureApplication(app);
    benchmark::Initialize(&argc, argv);
    const int restSeconds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    Form1 form(QDir::currentPath(), {});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    QApplication::setActiveWindow(&form);
    form.findChild<QRadioButton*>(QStringLiteral("Option2"))->click();
    Typing typing;
    typing.entryText = form.findChild<TextBox*>(QStringLiteral("Text1"));
    typing.entryText->setFocus();
    typing.entryText->installEventFilter(&typing.fieldPaints);
    // The first keystroke makes the preview's window.
    keystroke(typing, chatMessage(149), false);
    typing.preview = typing.entryText->findChild<PicturePopup*>(QStringLiteral("EntryTextPreview"));
    if (!typing.preview) {
        std::fprintf(stderr, "no preview beside the entry box\n");
        return 1;
    }
    typing.preview->installEventFilter(&typing.previewPaints);
    g_typing = &typing;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double withPreview = median(typing.withPreview);
    const double plain = median(typing.plain);
    std::printf("\nkeystroke to painted, median of %zu alternating keystrokes making 150 characters:\n"
                "  codes and symbols, the preview beside the box  %.2f ms\n"
                "  plain letters, no preview                      %.2f ms\n"
                "  ratio                                          %.2fx\n",
                typing.withPreview.size(), withPreview, plain, withPreview / plain);

    // A million pasted characters, left alone with the focus.
    QString pasted;
    while (pasted.size() < 1'000'000)
        pasted += chatMessage(150);
    typing.entryText->setText(pasted);
    QTest::qWait(1000);
    const int paintsBefore = typing.fieldPaints.paints;
    const double before = processorSeconds();
    QElapsedTimer clock;
    clock.start();
    QEventLoop rest;
    QTimer::singleShot(restSeconds * 1000, &rest, &QEventLoop::quit);
    rest.exec();
    std::printf("\n%lld characters in the focused box, %.1f s at rest: %.1f %% of a core, the box painted %d times\n",
                static_cast<long long>(pasted.size()), clock.elapsed() / 1e3,
                100 * (processorSeconds() - before) / (clock.elapsed() / 1e3), typing.fieldPaints.paints - paintsBefore);
    return 0;
}
