#include "analysis/win_model.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

constexpr int K = kWinFeatures;
using Matrix = std::array<std::array<double, K>, K>;

double dot(const WinFeatures& a, const WinFeatures& b) {
    double s = 0;
    for (int k = 0; k < K; ++k)
        s += a[k] * b[k];
    return s;
}

// Softmax of beta . x over the runners, the largest score taken out first so that no
// exponential overflows.
std::vector<double> softmax(const WinFeatures& beta, const std::vector<WinFeatures>& runners) {
    std::vector<double> p(runners.size());
    double top = -HUGE_VAL;
    for (size_t i = 0; i < runners.size(); ++i) {
        p[i] = dot(beta, runners[i]);
        top = std::max(top, p[i]);
    }
    double sum = 0;
    for (double& v : p)
        sum += (v = std::exp(v - top));
    for (double& v : p)
        v /= sum;
    return p;
}

bool usable(const ModelRace& race) {
    return race.runners.size() >= 2 && race.winner >= 0 && race.winner < int(race.runners.size());
}

// The penalized log-likelihood, and with gradient and hessian given, their values at beta.
double objective(const std::vector<ModelRace>& races, const WinFeatures& beta, double lambda,
                 WinFeatures* gradient = nullptr, Matrix* hessian = nullptr) {
    double value = -0.5 * lambda * dot(beta, beta);
    if (gradient && hessian) {
        for (int a = 0; a < K; ++a) {
            (*gradient)[a] = -lambda * beta[a];
            (*hessian)[a].fill(0);
            (*hessian)[a][a] = -lambda;
        }
    }
    for (const ModelRace& race : races) {
        if (!usable(race))
            continue;
        const std::vector<double> p = softmax(beta, race.runners);
        value += std::log(std::max(p[size_t(race.winner)], 1e-300));
        if (!gradient || !hessian)
            continue;
        WinFeatures mean{};
        for (size_t i = 0; i < p.size(); ++i)
            for (int a = 0; a < K; ++a)
                mean[a] += p[i] * race.runners[i][a];
        for (int a = 0; a < K; ++a)
            (*gradient)[a] += race.runners[size_t(race.winner)][a] - mean[a];
        for (size_t i = 0; i < p.size(); ++i)
            for (int a = 0; a < K; ++a)
                for (int b = 0; b < K; ++b)
                    (*hessian)[a][b] -= p[i] * (race.runners[i][a] - mean[a]) * (race.runners[i][b] - mean[b]);
    }
    return value;
}

// Solves m x = v for a symmetric positive definite m (Cholesky); false when it is not.
bool solve(Matrix m, WinFeatures v, WinFeatures& x) {
    for (int j = 0; j < K; ++j) {
        double d = m[j][j];
        for (int k = 0; k < j; ++k)
            d -= m[j][k] * m[j][k];
        if (!(d > 0))
            return false;
        m[j][j] = std::sqrt(d);
        for (int i = j + 1; i < K; ++i) {
            double s = m[i][j];
            for (int k = 0; k < j; ++k)
                s -= m[i][k] * m[j][k];
            m[i][j] = s / m[j][j];
        }
    }
    for (int i = 0; i < K; ++i) {
        for (int k = 0; k < i; ++k)
            v[i] -= m[i][k] * v[k];
        v[i] /= m[i][i];
    }
    for (int i = K - 1; i >= 0; --i) {
        for (int k = i + 1; k < K; ++k)
            v[i] -= m[k][i] * v[k];
        v[i] /= m[i][i];
    }
    x = v;
    return true;
}

}  // namespace

WinFeatures winFeatures(double index, double bestIndex, int rank, int runners, QChar mark) {
    WinFeatures x{};
    x[0] = (index - bestIndex) / 10.0;
    x[1] = std::log(double(std::max(1, rank > 0 ? rank : runners)));
    for (size_t m = 0; m < kWinMarks.size(); ++m)
        if (mark == QChar(kWinMarks[m]))
            x[2 + m] = 1;
    return x;
}

std::vector<WinFeatures> raceFeatures(const std::vector<RunnerPrediction>& runners) {
    double best = 0;
    for (const RunnerPrediction& r : runners)
        best = std::max(best, r.index);
    std::vector<WinFeatures> out;
    out.reserve(runners.size());
    for (const RunnerPrediction& r : runners)
        out.push_back(winFeatures(r.index, best, r.rank, int(runners.size()), r.mark));
    return out;
}

std::vector<double> WinModel::chances(const std::vector<WinFeatures>& runners) const {
    return runners.empty() ? std::vector<double>{} : softmax(beta, runners);
}

std::optional<WinModel> fitWinModel(const std::vector<ModelRace>& races, double ridge) {
    WinModel model;
    model.races = int(std::count_if(races.begin(), races.end(), usable));
    if (model.races == 0)
        return std::nullopt;
    const double lambda = ridge * model.races;
    double value = objective(races, model.beta, lambda);
    for (model.iterations = 0; model.iterations < 100; ++model.iterations) {
        WinFeatures gradient;
        Matrix hessian;
        objective(races, model.beta, lambda, &gradient, &hessian);
        for (auto& row : hessian)
            for (double& h : row)
                h = -h;
        WinFeatures step;
        if (!solve(hessian, gradient, step))
            break;
        // Newton's step, halved until the objective does not fall.
        double scale = 1;
        WinFeatures next;
        double nextValue = value;
        for (int halvings = 0; halvings < 30; ++halvings, scale /= 2) {
            for (int k = 0; k < K; ++k)
                next[k] = model.beta[k] + scale * step[k];
            nextValue = objective(races, next, lambda);
            if (nextValue >= value)
                break;
        }
        if (nextValue < value)
            break;
        double largest = 0;
        for (int k = 0; k < K; ++k)
            largest = std::max(largest, std::abs(next[k] - model.beta[k]));
        model.beta = next;
        value = nextValue;
        if (largest < 1e-10)
            break;
    }
    model.logLikelihood = objective(races, model.beta, 0);
    return model;
}

double modelLogLoss(const WinModel& model, const std::vector<ModelRace>& races) {
    double sum = 0;
    int n = 0;
    for (const ModelRace& race : races) {
        if (!usable(race))
            continue;
        sum -= std::log(std::max(model.chances(race.runners)[size_t(race.winner)], 1e-300));
        ++n;
    }
    return n ? sum / n : 0;
}

std::optional<double> marketLogLoss(const std::vector<ModelRace>& races) {
    double sum = 0;
    int n = 0;
    for (const ModelRace& race : races) {
        if (!usable(race) || race.odds.size() != race.runners.size())
            continue;
        if (std::any_of(race.odds.begin(), race.odds.end(), [](double o) { return !(o > 0); }))
            continue;
        double total = 0;
        for (double o : race.odds)
            total += 1 / o;
        sum -= std::log(1 / race.odds[size_t(race.winner)] / total);
        ++n;
    }
    if (n == 0)
        return std::nullopt;
    return sum / n;
}

std::array<ReliabilityBand, 10> reliability(const WinModel& model, const std::vector<ModelRace>& races) {
    std::array<ReliabilityBand, 10> bands{};
    for (const ModelRace& race : races) {
        if (!usable(race))
            continue;
        const std::vector<double> p = model.chances(race.runners);
        for (size_t i = 0; i < p.size(); ++i) {
            ReliabilityBand& band = bands[size_t(std::clamp(int(p[i] * 10), 0, 9))];
            ++band.runners;
            band.meanChance += p[i];
            if (int(i) == race.winner)
                ++band.winners;
        }
    }
    for (ReliabilityBand& band : bands)
        if (band.runners)
            band.meanChance /= band.runners;
    return bands;
}

}  // namespace zm
