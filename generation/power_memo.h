#pragma once
// A power remembered with its arguments. A loop that asks for the same power step after step
// (the climate model, while the pressure and the day stay put) pays for it once; the value is
// the one std::pow gives, bit for bit.

#include <cmath>
#include <limits>

class PowerMemo {
public:
    double operator()(double base, double exponent) {
        if (base != base_ || exponent != exponent_) {  // never equal while unset (not a number)
            value_ = std::pow(base, exponent);
            base_ = base;
            exponent_ = exponent;
        }
        return value_;
    }

private:
    double base_ = std::numeric_limits<double>::quiet_NaN();
    double exponent_ = std::numeric_limits<double>::quiet_NaN();
    double value_ = 0.0;
};
