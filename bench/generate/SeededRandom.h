#pragma once

#include <QVector>
#include <QtGlobal>
#include <cmath>

namespace bench {

// A small generator of numbers whose sequence depends only on the seed, a
// stream and an item (an asset's number, a centre's): each asset comes out
// the same whatever the chunk size, the run's size or the machine, so a
// catalogue of 1,000 assets is the start of the catalogue of 1,000,000.
class SeededRandom
{
public:
    SeededRandom(quint64 seed, quint64 stream, quint64 item)
        : m_state(mix(seed * 0x9E3779B97F4A7C15ull + mix(stream * 0xD1B54A32D192ED03ull + item)))
    {
    }

    quint64 next()
    {
        m_state += 0x9E3779B97F4A7C15ull;
        return mix(m_state);
    }

    // Inclusive at both ends.
    int between(int low, int high) { return low + int(next() % quint64(high - low + 1)); }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double probability) { return uniform() < probability; }
    // Exponentially distributed, with the given mean.
    double exponential(double mean) { return -mean * std::log(1.0 - uniform()); }

    template<typename T>
    const T &pick(const QVector<T> &items) { return items.at(between(0, int(items.size()) - 1)); }

private:
    static quint64 mix(quint64 z)
    {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    quint64 m_state;
};

} // namespace bench
