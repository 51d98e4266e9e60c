// Command1_Click on an in-memory form, beside the bare computation it wraps:
// five numbers parsed with std::from_chars, the formula, std::to_chars. The
// difference is what the form fields, text ownership, checks and the exact
// input grammar cost.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "commands/commands.h"
#include "fake_form.h"

namespace {

using commands::TextField;

void Command1ClickOnMemoryForm(benchmark::State& state) {
    fake::FakeForm form;
    form.recording = false;
    form.set(TextField::x1, u"1.25");
    form.set(TextField::y1, u"-3.5");
    form.set(TextField::x2, u"7.75");
    form.set(TextField::y2, u"12.125");
    form.set(TextField::x, u"4.375");
    for (auto _ : state) {
        commands::Command1_Click(form);
        benchmark::DoNotOptimize(form.text(TextField::y).data());
    }
}
BENCHMARK(Command1ClickOnMemoryForm);

double parse(std::string_view text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Each input parsed once.
void BareBaseline(benchmark::State& state) {
    std::array<std::string_view, 5> texts = {"1.25", "-3.5", "7.75", "12.125", "4.375"};
    std::array<char, 32> out{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(texts.data());
        const double x1 = parse(texts[0]), y1 = parse(texts[1]), x2 = parse(texts[2]),
                     y2 = parse(texts[3]), x = parse(texts[4]);
        const double y = std::nearbyint((y1 + (x - x1) * (y1 - y2) / (x1 - x2)) * 100) / 100;
        benchmark::DoNotOptimize(std::to_chars(out.data(), out.data() + out.size(), y).ptr);
    }
}
BENCHMARK(BareBaseline);

// The command converts x1 and y1 twice, where each is used; this baseline
// parses as often, so that the difference from the command is pure overhead.
void BareBaselineSevenParses(benchmark::State& state) {
    std::array<std::string_view, 5> texts = {"1.25", "-3.5", "7.75", "12.125", "4.375"};
    std::array<char, 32> out{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(texts.data());
        const double dy = parse(texts[1]) - parse(texts[3]);
        const double p = (parse(texts[4]) - parse(texts[0])) * dy;
        const double q = p / (parse(texts[0]) - parse(texts[2]));
        const double y = std::nearbyint((parse(texts[1]) + q) * 100) / 100;
        benchmark::DoNotOptimize(std::to_chars(out.data(), out.data() + out.size(), y).ptr);
    }
}
BENCHMARK(BareBaselineSevenParses);

} // namespace

BENCHMARK_MAIN();
