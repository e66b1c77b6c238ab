// Random deviates drawn from the Rand generator.
#include <cmath>

#include "engine/errors.h"
#include "engine/functions.h"
#include "engine/scalar.h"

namespace qx {

double log_gamma(double x) {
    return std::lgamma(x);
}

double rand_int(double a, double b) {
    const char* fn = "rand_int";
    if (std::fabs(a) > 1e9 || std::fabs(b) > 1e9 || frac_part(a) != 0.0 || frac_part(b) != 0.0) {
        raise_error(ERR_DOMAIN, "Integer out of range", fn);
        return 0.0;
    }
    double lo = std::fmin(a, b), hi = std::fmax(a, b);
    lo = int_part(lo);
    hi = int_part(hi);
    return lo + std::trunc(rand_uniform() * (hi - lo + 1.0));
}

double rand_norm(double mean, double deviation) {
    double u, v, x, y, q;
    do {
        u = rand_uniform();
        v = 1.7156 * (rand_uniform() - 0.5);
        x = u - 0.449871;
        y = std::fabs(v) + 0.386595;
        q = x * x + y * (0.19600 * y - 0.25472 * x);
    } while (q > 0.27597 && (q > 0.27846 || v * v > -4.0 * std::log(u) * u * u));
    return mean + deviation * (v / u);
}

double rand_pois(double mean) {
    if (mean < 0.0) {
        raise_error(ERR_DOMAIN, "Mean must not be negative", "rand_pois");
        return 0.0;
    }
    if (mean > 1e9) {
        raise_error(ERR_DOMAIN, "Integer out of range", "rand_pois");
        return 0.0;
    }
    if (mean == 0.0) return 0.0;
    if (mean < 12.0) {
        double g = std::exp(-mean);
        double em = -1.0, t = 1.0;
        do {
            em += 1.0;
            t *= rand_uniform();
        } while (t > g);
        return em;
    }
    // Rejection from a Lorentzian comparison function.
    double sq = std::sqrt(2.0 * mean), alxm = std::log(mean);
    double g = mean * alxm - log_gamma(mean + 1.0);
    double em, t, y;
    do {
        do {
            y = std::tan(PI_CONSTANT * rand_uniform());
            em = sq * y + mean;
        } while (em < 0.0);
        em = std::floor(em);
        t = 0.9 * (1.0 + y * y) * std::exp(em * alxm - log_gamma(em + 1.0) - g);
    } while (rand_uniform() > t);
    return em;
}

double rand_bin(double n_trials, double pp) {
    if (n_trials < 1.0 || n_trials > 1e9 || frac_part(n_trials) != 0.0) {
        raise_error(ERR_DOMAIN, "Integer out of range", "rand_bin");
        return 0.0;
    }
    if (pp < 0.0 || pp > 1.0) {
        raise_error(ERR_DOMAIN, "NAN", "fpieee_handler");
        return 0.0;
    }
    double n = int_part(n_trials);
    double p = pp <= 0.5 ? pp : 1.0 - pp;
    double am = n * p, bnl;
    if (n < 25.0) {
        bnl = 0.0;
        for (int j = 1; j <= static_cast<int>(n); ++j)
            if (rand_uniform() < p) bnl += 1.0;
    } else if (am < 1.0) {
        double g = std::exp(-am), t = 1.0;
        int j;
        for (j = 0; j <= static_cast<int>(n); ++j) {
            t *= rand_uniform();
            if (t < g) break;
        }
        bnl = j <= n ? j : n;
    } else {
        double en = n, oldg = log_gamma(en + 1.0);
        double pc = 1.0 - p, plog = std::log(p), pclog = std::log(pc);
        double sq = std::sqrt(2.0 * am * pc), em, t, y;
        do {
            do {
                y = std::tan(PI_CONSTANT * rand_uniform());
                em = sq * y + am;
            } while (em < 0.0 || em >= en + 1.0);
            em = std::floor(em);
            t = 1.2 * sq * (1.0 + y * y) *
                std::exp(oldg - log_gamma(em + 1.0) - log_gamma(en - em + 1.0) + em * plog +
                         (en - em) * pclog);
        } while (rand_uniform() > t);
        bnl = em;
    }
    if (p != pp) bnl = n - bnl;
    return bnl;
}

}  // namespace qx
