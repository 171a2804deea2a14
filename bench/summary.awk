# The summary bench/run prints from the benchmarks' JSON files (one "key": value a line):
# per driver, the checksums of the readers, each reader's ratio to the plain per-cell loop,
# CarregaTudo + walk's time per row by size and its growth against the plain loop's, and
# CarregaTudo's peak memory; then the time Pesquisa takes to compose its command.
# Medians of the repetitions; real time is the wall clock, cpu the client's own time (the
# PostgreSQL server's work is not in it).

/^ *"[A-Za-z_]+": / {
    key = $0; sub(/^ *"/, "", key); sub(/".*/, "", key)
    value = $0; sub(/^[^:]*: */, "", value); sub(/,$/, "", value); gsub(/"/, "", value)
    rec[key] = value; next
}
/^ *},?$/ { if ("name" in rec) Take(); delete rec }

# Keys: reader, backend and rows, separated by SUBSEP.
function Take(   p, rows, k) {
    if (rec["name"] !~ /_median$/) return
    split(rec["name"], p, "/")
    if (p[1] == "ComposeSearch") { compose[p[2] + 0] = rec["real_time"]; return }
    rows = p[3]; sub(/^rows:/, "", rows)
    if (p[1] ~ /^Tiny/) rows = "tiny"
    k = p[1] SUBSEP p[2] SUBSEP rows
    real[k] = rec["real_time"]; cpu[k] = rec["cpu_time"]; backends[p[2]] = 1
    if ("label" in rec) checksum[k] = rec["label"]
    if ("peak_MB" in rec) memory[p[2], rows] = sprintf("%.1f MB for %.1f MB of text (%.2f)",
                                                       rec["peak_MB"], rec["text_MB"], rec["mem_ratio"])
}

function Has(reader, b, rows) { return (reader, b, rows) in real }

# The readers of one size read the same values: one checksum among them.
function Checksums(b, rows,   k, p, seen, text, n) {
    n = 0
    for (k in checksum) {
        split(k, p, SUBSEP)
        if (p[2] != b || p[3] != rows) continue
        if (!(checksum[k] in seen)) { seen[checksum[k]] = 1; n++; text = checksum[k] }
    }
    if (n == 0) return
    if (n == 1) printf "  %9s rows: every reader read the same values, %s\n", Thousands(rows), text
    else printf "  %9s rows: THE READERS READ DIFFERENT VALUES (%d checksums)\n", Thousands(rows), n
}

function Ratio(label, reader, plain, b, rows, target,   k, q) {
    k = reader SUBSEP b SUBSEP rows; q = plain SUBSEP b SUBSEP rows
    if (!(k in real) || !(q in real) || real[q] == 0) { printf "  %-36s no figures\n", label; return }
    printf "  %-36s %8.1f ms (cpu %7.1f)  ratio %.3f (cpu %.3f)", label, real[k], cpu[k],
           real[k] / real[q], cpu[k] / cpu[q]
    if (target) printf "  target <= %.2f", target
    print ""
}

function PerRow(reader, b, rows) { return real[reader, b, rows] * 1000 / rows }

function Growth(label, reader, b,   i, r) {
    printf "  %-22s", label
    for (i = 1; i <= nSizes; i++) {
        r = sizes[i]
        if (Has(reader, b, r)) printf "  %9s: %6.3f us", Thousands(r), PerRow(reader, b, r)
    }
    if (Has(reader, b, sizes[1]) && Has(reader, b, sizes[nSizes]) && nSizes > 1) {
        growth[reader] = PerRow(reader, b, sizes[nSizes]) / PerRow(reader, b, sizes[1])
        printf "   x%.3f", growth[reader]
    }
    print ""
}

function Thousands(n,   s) {
    s = n ""
    while (s ~ /[0-9][0-9][0-9][0-9]/) sub(/[0-9][0-9][0-9]($|,)/, ",&", s)
    return s
}

function Sizes(b,   k, p, seen, i, j, t) {
    nSizes = 0
    for (k in real) {
        split(k, p, SUBSEP)
        if (p[1] != "StoredRead" || p[2] != b || (p[3] in seen)) continue
        seen[p[3]] = 1; sizes[++nSizes] = p[3] + 0
    }
    for (i = 1; i <= nSizes; i++)
        for (j = i + 1; j <= nSizes; j++)
            if (sizes[j] < sizes[i]) { t = sizes[i]; sizes[i] = sizes[j]; sizes[j] = t }
}

function Backend(b,   i, r) {
    Sizes(b)
    print "\n" b ":"
    for (i = 1; i <= nSizes; i++) Checksums(b, sizes[i])
    print "  against the plain SQLFetch + SQLGetData loop, 100,000 rows x 10 columns:"
    Ratio("TemLinhas + Col", "CellsRead", "PlainRead", b, 100000, 1.05)
    Ratio("CarregaTudo + walk", "StoredRead", "PlainRead", b, 100000, 1.10)
    Ratio("plain loop", "PlainRead", "PlainRead", b, 100000, 0)
    Ratio("10,000 x SELECT 1, read, released", "TinyCells", "TinyPlain", b, "tiny", 1.10)
    print "  time per row by rows read, and its growth from the fewest to the most:"
    delete growth
    Growth("plain loop", "PlainRead", b)
    Growth("CarregaTudo + walk", "StoredRead", b)
    if (("PlainRead" in growth) && ("StoredRead" in growth))
        printf "  CarregaTudo + walk grows %.3f times as much as the plain loop (target <= 1.10)\n",
               growth["StoredRead"] / growth["PlainRead"]
    print "  CarregaTudo's peak memory:"
    for (i = 1; i <= nSizes; i++)
        if ((b, sizes[i]) in memory) printf "  %9s rows: %s\n", Thousands(sizes[i]), memory[b, sizes[i]]
}

END {
    for (b in backends) Backend(b)
    m = 0
    for (words in compose) counts[++m] = words + 0
    for (i = 1; i <= m; i++)
        for (j = i + 1; j <= m; j++)
            if (counts[j] < counts[i]) { t = counts[i]; counts[i] = counts[j]; counts[j] = t }
    printf "\nPesquisa composing its command (median):"
    for (i = 1; i <= m; i++) printf "  %d words %.1f ms", counts[i], compose[counts[i]]
    print ""
}
