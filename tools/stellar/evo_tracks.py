"""Builds the evolution tracks from the analytic fits of Hurley, Pols & Tout
(2000) with simple phase models after the main sequence.

Each track is a list of points (age in years, log L, log Teff, log g,
current mass).  Ages are rescaled so that the main sequence ends at
10^10 * M^-2.5 years, the lifetime the star records use; the phases keep
their relative durations.
"""

import math

import calibrations as cal

# Initial masses.  Indices 0..25 are at most 7 solar masses (their mass is
# recovered from log g); 26..38 carry the current mass explicitly.
LOW_MASSES = (0.1, 0.15, 0.2, 0.25, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.1, 1.2,
              1.3, 1.4, 1.5, 1.7, 2.0, 2.3, 2.6, 3.0, 3.5, 4.0, 5.0, 6.0)
# Chosen just above the V masses of the table where possible (B2 7.3, B1
# 11.8, B0 17.7, O9 20.2, O8 23.6, O7 28, O6 35, O5 43, O3 59, O2 80), so the
# main-sequence record that the offsets refer to is close to the track.
HIGH_MASSES = (8.0, 10.0, 12.0, 15.0, 18.0, 20.5, 24.0, 29.0, 36.0, 44.0, 60.0, 81.0, 120.0)
TRACK_MASSES = LOW_MASSES + HIGH_MASSES
SPLIT_MASS = 7.0

# Below this mass the star is deeply convective: it leaves no giant branch
# within the life of the galaxy and its track ends with the main sequence.
GIANT_BRANCH_MIN_MASS = 0.7
# Above this mass the envelope is lost and the star ends as a Wolf-Rayet star
# rather than a red supergiant.
WOLF_RAYET_MIN_MASS = 27.0

# Blue-loop peak temperatures during core helium burning (approx., Cepheid
# strip for 5 Msun; typical solar-metallicity grids).
BLUE_LOOP_PEAK = ((3.0, 4900.0), (4.0, 5400.0), (5.0, 5800.0), (6.0, 6500.0),
                  (7.0, 7000.0), (8.0, 8000.0), (10.0, 9000.0), (12.0, 7000.0))
# Final masses of massive stars (approx., Ekstrom et al. 2012-like grids).
FINAL_MASS = ((8.0, 7.5), (10.0, 9.5), (15.0, 12.0), (20.0, 12.0), (25.0, 12.5),
              (30.0, 13.0), (40.0, 16.0), (60.0, 20.0), (85.0, 25.0), (120.0, 30.0))
# Temperature reached by the massive stars when they leave the main
# sequence before turning into Wolf-Rayet stars (LBV / yellow supergiant).
WR_EXCURSION_TEMP = ((27.0, 5000.0), (40.0, 10000.0), (120.0, 15000.0))
# Red supergiants are no cooler than this (Levesque et al. 2005: 3450-4100 K).
RSG_MIN_TEMP = 3500.0

REIMERS_ETA = 0.5
MS_MASS_KEPT = 0.65

MS_POINTS = 26


def program_lifetime(m):
    """Main-sequence lifetime of the star records, Myr."""
    return 10000.0 * m ** -2.5


def teff_from(lum, rad):
    return cal.TEFF_SUN_PROGRAM * (lum / rad ** 2) ** 0.25


def radius_prog(lum, teff):
    return math.sqrt(lum) / (teff / cal.TEFF_SUN_PROGRAM) ** 2


def _log_interp(m, table):
    xs = [math.log10(p[0]) for p in table]
    ys = [p[1] for p in table]
    return cal.interp_clamped(math.log10(m), xs, ys)


def _vink_rate(lum, mass, teff):
    """Main-sequence mass-loss rate (Msun/yr) of hot stars (Vink, de Koter &
    Lamers 2001, hot side of the bi-stability jump).  The analytic main
    sequence of the most massive stars swells to B-type temperatures near
    its end, where the cool-side rate would strip them far more than
    evolution models do, so the hot-side rate is used throughout."""
    lt = math.log10(max(teff, 27500.0) / 40000.0)
    lg = (-6.697 + 2.194 * math.log10(lum / 1e5) - 1.313 * math.log10(mass / 30.0)
          - 1.226 * math.log10(2.6 / 2.0) + 0.933 * lt - 10.92 * lt * lt)
    return 10 ** lg


def _reimers_rate(lum, rad, mass):
    return 4e-13 * REIMERS_ETA * lum * rad / mass


def _main_sequence(m):
    """Points (t Myr, logL, logT) of the main sequence.  The first point is
    moved onto the table's V sequence at this mass; the shift fades out
    linearly towards the end of the main sequence."""
    lz, rz = cal.l_zams(m), cal.r_zams(m)
    lt_, rt_ = cal.l_tms(m), cal.r_tms(m)
    tms = cal.t_ms(m)
    a_l, b_l = cal.ms_alpha_l(m), cal.ms_beta_l(m)
    a_r = cal.ms_alpha_r(m)
    c_l = math.log10(lt_ / lz) - a_l - b_l
    c_r = math.log10(rt_ / rz) - a_r
    v_logl, v_logt = cal.main_sequence_at_mass(m)
    d_l = v_logl - math.log10(lz)
    d_t = v_logt - math.log10(teff_from(lz, rz))
    pts = []
    for k in range(MS_POINTS):
        tau = k / (MS_POINTS - 1.0)
        logl = math.log10(lz) + a_l * tau + b_l * tau ** 10 + c_l * tau ** 2
        logr = math.log10(rz) + a_r * tau + c_r * tau ** 3
        logt = math.log10(teff_from(10 ** logl, 10 ** logr))
        pts.append((tau * tms, logl + (1 - tau) * d_l, logt + (1 - tau) * d_t))
    return pts


def _loop_offset(m, u, logl_mid):
    """Blue-loop shift of log Teff at fraction u of core helium burning."""
    if m < BLUE_LOOP_PEAK[0][0] or m > BLUE_LOOP_PEAK[-1][0]:
        return 0.0
    peak = _log_interp(m, BLUE_LOOP_PEAK)
    red = teff_from(10 ** logl_mid, cal.r_gb(m, 10 ** logl_mid))
    amp = max(0.0, math.log10(peak / red))
    if u <= 0.15 or u >= 0.85:
        return 0.0
    return amp * math.sin(math.pi * (u - 0.15) / 0.7) ** 0.5


def _low_mass_track(m):
    """(t Myr, logL, logT, mass) for 0.1..7 Msun."""
    out = [(t, ll, lt, m) for t, ll, lt in _main_sequence(m)]
    if m < GIANT_BRANCH_MIN_MASS:
        return out
    tms, tbgb = cal.t_ms(m), cal.t_bgb(m)
    l_tms, r_tms = cal.l_tms(m), cal.r_tms(m)
    l_bgb = max(cal.l_bgb(m), l_tms * 1.05)
    r_bgb = max(cal.r_gb(m, l_bgb), r_tms * 1.05)
    mass = m
    # The envelope can be lost, the core cannot: the mass never drops below
    # the final white-dwarf mass (Kalirai et al. 2008).
    mc = cal.wd_mass_from_initial(m)
    # Hertzsprung gap.
    n_hg = 8
    for k in range(1, n_hg + 1):
        u = k / float(n_hg)
        lum = l_tms * (l_bgb / l_tms) ** u
        rad = r_tms * (r_bgb / r_tms) ** u
        out.append((tms + u * (tbgb - tms), math.log10(lum), math.log10(teff_from(lum, rad)), mass))
    # Red giant branch up to helium ignition (core-mass-luminosity clock).
    l_tip = max(cal.l_hei(m), l_bgb * 1.2)
    clock = cal.gb_clock(m, l_bgb)
    n_gb = 24
    t_prev, l_prev, r_prev = tbgb, l_bgb, r_bgb
    for k in range(1, n_gb + 1):
        u = k / float(n_gb)
        lum = l_bgb * (l_tip / l_bgb) ** u
        rad = cal.r_gb(m, lum)
        t = tbgb + clock(lum)
        dt_yr = (t - t_prev) * 1e6
        mass -= 0.5 * (_reimers_rate(l_prev, r_prev, mass) + _reimers_rate(lum, rad, mass)) * dt_yr
        mass = max(mass, mc)
        t_prev, l_prev, r_prev = t, lum, rad
        out.append((t, math.log10(lum), math.log10(teff_from(lum, rad)), mass))
    t_hei = t_prev
    # Core helium burning: red clump / blue loop, ending at the base of the AGB.
    the = cal.t_he(m)
    if m < cal.M_HEF:
        l_start = 50.0 if m <= 1.5 else 50.0 * (0.6 * cal.l_hei(cal.M_HEF) / 50.0) ** (
            (m - 1.5) / (cal.M_HEF - 1.5))
        clump_shift = 0.03
    else:
        l_start = 0.6 * cal.l_hei(m)
        clump_shift = 0.0
    l_end = max(cal.l_bagb(m), l_start * 1.05)
    logl_mid = 0.5 * (math.log10(l_start) + math.log10(l_end))
    n_he = 20
    for k in range(n_he):
        u = k / (n_he - 1.0)
        lum = l_start * (l_end / l_start) ** u
        red = teff_from(lum, cal.r_gb(m, lum))
        logt = math.log10(red) + clump_shift * (1 - u) + _loop_offset(m, u, logl_mid)
        t = t_hei + 0.001 * the + u * the
        rad = radius_prog(lum, 10 ** logt)
        mass -= _reimers_rate(lum, rad, mass) * (the / (n_he - 1.0)) * 1e6 * (1 if k else 0)
        mass = max(mass, mc)
        out.append((t, math.log10(lum), logt, mass))
    t_bagb = out[-1][0]
    # Asymptotic giant branch up to the tip.
    q = 3.0 if m <= 2.0 else (2.0 if m >= 2.5 else 3.0 - 2.0 * (m - 2.0))
    b = max(3e4, 500.0 + 1.75e4 * m ** 0.6)
    l_agb_tip = max(b * mc ** q, l_end * 1.5)
    agb_time = 0.1 * the + 1.0
    n_agb = 16
    norm = 1.0 - (l_end / l_agb_tip) ** (5.0 / 6.0)
    t_prev, l_prev = t_bagb, l_end
    r_prev = cal.r_agb(m, l_end)
    for k in range(1, n_agb + 1):
        u = k / float(n_agb)
        lum = l_end * (l_agb_tip / l_end) ** u
        rad = cal.r_agb(m, lum)
        t = t_bagb + agb_time * (1.0 - (l_end / lum) ** (5.0 / 6.0)) / norm
        dt_yr = (t - t_prev) * 1e6
        mass -= 0.5 * (_reimers_rate(l_prev, r_prev, mass) + _reimers_rate(lum, rad, mass)) * dt_yr
        mass = max(mass, mc)
        t_prev, l_prev, r_prev = t, lum, rad
        out.append((t, math.log10(lum), math.log10(teff_from(lum, rad)), mass))
    return out


def _red_supergiant_teff(m, lum):
    return max(RSG_MIN_TEMP, teff_from(lum, cal.r_gb(m, lum)))


def _massive_track(m):
    """(t Myr, logL, logT, mass) for massive stars."""
    ms = _main_sequence(m)
    out = []
    mass = m
    t_prev = 0.0
    m_final = _log_interp(m, FINAL_MASS)
    # The fitted luminosity does not fall as the star loses mass, so the
    # integrated rate overshoots for the heaviest stars; evolution grids lose
    # at most about a third of the mass on the main sequence.
    m_floor = max(m_final, MS_MASS_KEPT * m)
    prev = ms[0]
    sub = 50
    for i, (t, ll, lt) in enumerate(ms):
        if i:
            for j in range(sub):
                f = (j + 0.5) / sub
                lum = 10 ** (prev[1] + f * (ll - prev[1]))
                teff = 10 ** (prev[2] + f * (lt - prev[2]))
                mass -= _vink_rate(lum, mass, teff) * (t - prev[0]) * 1e6 / sub
                mass = max(mass, m_floor)
        prev = (t, ll, lt)
        out.append((t, ll, lt, mass))
    m_tams = mass
    tms, tbgb = cal.t_ms(m), cal.t_bgb(m)
    the = cal.t_he(m)
    l_tms = 10 ** ms[-1][1]
    t_tams = 10 ** ms[-1][2]
    t_end_he = tbgb + the
    t_last = t_end_he + 0.01 * tms

    def mass_at(t):
        if t <= tms:
            return m_tams
        return m_tams + (m_final - m_tams) * (t - tms) / (t_last - tms)

    if m < WOLF_RAYET_MIN_MASS:
        l_hg = max(cal.l_hei(m), l_tms * 1.05)
        t_red = _red_supergiant_teff(m, l_hg)
        n_hg = 10
        for k in range(1, n_hg + 1):
            u = k / float(n_hg)
            lum = l_tms * (l_hg / l_tms) ** u
            logt = math.log10(t_tams) + u * (math.log10(t_red) - math.log10(t_tams))
            t = tms + u * (tbgb - tms)
            out.append((t, math.log10(lum), logt, mass_at(t)))
        l_end = max(cal.l_bagb(m) * 10 ** 0.15, l_hg * 1.1)
        logl_mid = 0.5 * (math.log10(l_hg) + math.log10(l_end))
        n_he = 30
        for k in range(1, n_he + 1):
            u = k / float(n_he)
            lum = l_hg * (l_end / l_hg) ** u
            red = _red_supergiant_teff(m, lum)
            logt = math.log10(red) + _loop_offset(m, u, logl_mid)
            t = tbgb + u * the
            out.append((t, math.log10(lum), logt, mass_at(t)))
        # Carbon burning and beyond: a short, slightly brighter end.
        n_end = 5
        for k in range(1, n_end + 1):
            u = k / float(n_end)
            lum = l_end * 10 ** (0.1 * u)
            red = _red_supergiant_teff(m, lum)
            t = t_end_he + u * (t_last - t_end_he)
            out.append((t, math.log10(lum), math.log10(red), mass_at(t)))
        return out
    # Envelope lost: excursion to cooler temperatures (LBV / yellow
    # supergiant), then a Wolf-Rayet star (WN, later WC) that fades as it
    # loses mass.
    t_cool = min(_log_interp(m, WR_EXCURSION_TEMP), t_tams * 0.9)
    n_hg = 6
    for k in range(1, n_hg + 1):
        u = k / float(n_hg)
        lum = l_tms * 10 ** (0.05 * u)
        logt = math.log10(t_tams) + u * (math.log10(t_cool) - math.log10(t_tams))
        t = tms + u * (tbgb - tms)
        out.append((t, math.log10(lum), logt, mass_at(t)))
    l_start = l_tms * 10 ** 0.05
    l_final = 10 ** (5.0 + 1.3 * math.log10(m_final / 10.0))
    n_he = 30
    for k in range(1, n_he + 1):
        u = k / float(n_he)
        t = tbgb + u * the
        cur = mass_at(t)
        lum = l_start * (l_final / l_start) ** u
        if u <= 0.2:
            logt = math.log10(t_cool) + (u / 0.2) * (math.log10(50000.0) - math.log10(t_cool))
        else:
            logt = math.log10(50000.0) + (u - 0.2) / 0.8 * (math.log10(100000.0) - math.log10(50000.0))
        out.append((t, math.log10(lum), logt, cur))
    n_end = 5
    for k in range(1, n_end + 1):
        u = k / float(n_end)
        t = t_end_he + u * (t_last - t_end_he)
        logt = math.log10(100000.0) + 0.1 * u
        out.append((t, math.log10(l_final), logt, mass_at(t)))
    return out


def build_tracks():
    """List of (initial mass, points); points are (age yr, logL, logT, logg, mass)."""
    tracks = []
    for m in TRACK_MASSES:
        raw = _low_mass_track(m) if m <= SPLIT_MASS else _massive_track(m)
        scale = program_lifetime(m) / cal.t_ms(m)
        pts = []
        for t, logl, logt, mass in raw:
            rad = radius_prog(10 ** logl, 10 ** logt)
            logg = cal.log_g(mass, rad)
            pts.append((t * scale * 1e6, logl, logt, logg, mass))
        tracks.append((m, pts))
    return tracks


def _fmt_mass(m):
    text = "%.4f" % m
    return text.rstrip("0").rstrip(".")


def tracks_text(tracks):
    lines = []
    for m, pts in tracks:
        lines.append("%s;%d\n" % (_fmt_mass(m), len(pts)))
        for age, logl, logt, logg, mass in pts:
            if m > SPLIT_MASS:
                lines.append("%.1f;%.4f;%.4f;%.4f;%.4f\n" % (age, mass, logl, logt, logg))
            else:
                # The mass after the fourth separator is for the reader's
                # eyes only; these tracks give the mass through log g.
                lines.append("%.1f;%.4f;%.4f;%.4f;%.4f\n" % (age, logl, logt, logg, mass))
    return "".join(lines)
