#include "edit/TextDiff.h"

#include <vector>

namespace {

struct Diff
{
    QStringView a, b;
    qint64 budget;
    QList<TextDiff::Run> runs;

    void add(int oldPos, int newPos, int length)
    {
        if (length > 0)
            runs.append({oldPos, newPos, length});
    }

    // a[a0, a1) against b[b0, b1): the common prefix and suffix taken off,
    // the rest split at a middle snake and each half done likewise.
    void diff(int a0, int a1, int b0, int b1)
    {
        int prefix = 0;
        while (a0 + prefix < a1 && b0 + prefix < b1 && a[a0 + prefix] == b[b0 + prefix])
            ++prefix;
        int suffix = 0;
        while (a1 - suffix > a0 + prefix && b1 - suffix > b0 + prefix && a[a1 - suffix - 1] == b[b1 - suffix - 1])
            ++suffix;
        add(a0, b0, prefix);
        budget -= prefix + suffix;
        const int x0 = a0 + prefix, x1 = a1 - suffix, y0 = b0 + prefix, y1 = b1 - suffix;
        if (x0 < x1 && y0 < y1) {
            int splitX = 0, splitY = 0;
            if (bisect(x0, x1, y0, y1, splitX, splitY)) {
                diff(x0, splitX, y0, splitY);
                diff(splitX, x1, splitY, y1);
            }
        }
        add(x1, y1, suffix);
    }

    // Myers' middle snake of a[x0, x1) and b[y0, y1), both not empty and
    // differing at both ends: false when they have nothing in common or the
    // budget is spent.
    bool bisect(int x0, int x1, int y0, int y1, int &splitX, int &splitY)
    {
        const int n = x1 - x0, m = y1 - y0;
        const int maxD = (n + m + 1) / 2;
        const int offset = maxD;
        const int length = 2 * maxD + 2;
        std::vector<int> forward(size_t(length), -1), backward(size_t(length), -1);
        forward[size_t(offset + 1)] = 0;
        backward[size_t(offset + 1)] = 0;
        const int delta = n - m;
        // With an odd delta the forward paths meet the backward ones.
        const bool front = (delta % 2) != 0;
        int k1start = 0, k1end = 0, k2start = 0, k2end = 0;
        for (int d = 0; d < maxD; ++d) {
            if (budget < 0)
                return false;
            budget -= 2 * (2 * d + 1); // the diagonals of both directions
            for (int k1 = -d + k1start; k1 <= d - k1end; k1 += 2) {
                const int i = offset + k1;
                int x = (k1 == -d || (k1 != d && forward[i - 1] < forward[i + 1])) ? forward[i + 1]
                                                                                    : forward[i - 1] + 1;
                int y = x - k1;
                const int from = x;
                while (x < n && y < m && a[x0 + x] == b[y0 + y]) {
                    ++x;
                    ++y;
                }
                budget -= x - from;
                forward[i] = x;
                if (x > n) {
                    k1end += 2;
                } else if (y > m) {
                    k1start += 2;
                } else if (front) {
                    const int j = offset + delta - k1;
                    if (j >= 0 && j < length && backward[j] != -1 && x >= n - backward[j]) {
                        splitX = x0 + x;
                        splitY = y0 + y;
                        return true;
                    }
                }
            }
            for (int k2 = -d + k2start; k2 <= d - k2end; k2 += 2) {
                const int i = offset + k2;
                int x = (k2 == -d || (k2 != d && backward[i - 1] < backward[i + 1])) ? backward[i + 1]
                                                                                      : backward[i - 1] + 1;
                int y = x - k2;
                const int from = x;
                while (x < n && y < m && a[x1 - x - 1] == b[y1 - y - 1]) {
                    ++x;
                    ++y;
                }
                budget -= x - from;
                backward[i] = x;
                if (x > n) {
                    k2end += 2;
                } else if (y > m) {
                    k2start += 2;
                } else if (!front) {
                    const int j = offset + delta - k2;
                    if (j >= 0 && j < length && forward[j] != -1) {
                        const int fx = forward[j];
                        const int fy = offset + fx - j;
                        if (fx >= n - x) {
                            splitX = x0 + fx;
                            splitY = y0 + fy;
                            return true;
                        }
                    }
                }
            }
        }
        return false;
    }
};

} // namespace

QList<TextDiff::Run> TextDiff::commonRuns(QStringView a, QStringView b, qint64 budget)
{
    Diff d{a, b, budget, {}};
    d.diff(0, int(a.size()), 0, int(b.size()));
    return d.runs;
}
