// Loads the JSON Lines export and the UTF-8 CSV export of generated battles into
// DuckDB with its default settings, as a user of data tools would, and checks a
// table of counts and sums against totals worked out from export-json.tts's output
// (read with JSON.parse), and that the two files agree row by row. Exits 0 when
// all hold, 1 on a failure, 77 when DuckDB is not installed (tools/install-deps
// installs it).
//   node check-exports.mjs BIN_DIR WORK_DIR
import { execFileSync } from "node:child_process";
import { mkdirSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { join } from "node:path";

const [bin, work] = process.argv.slice(2);
if (!bin || !work) {
    console.error("usage: node check-exports.mjs BIN_DIR WORK_DIR");
    process.exit(2);
}

let DuckDBInstance;
try {
    ({ DuckDBInstance } = await import("@duckdb/node-api"));
} catch {
    console.log("@duckdb/node-api is not installed: run tools/install-deps test");
    process.exit(77);
}

rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });
const battles = join(work, "battles");
// Every third battle has names with a comma, quotes, CR LF and a tab.
execFileSync(join(bin, "kvsgen"), ["--seed", "7", "--count", "40", "--awkward-texts", "1", "--out", battles]);
const files = readdirSync(battles).sort().map((name) => join(battles, name));

function exportWith(script, output) {
    const path = join(work, output);
    execFileSync(join(bin, "mirudana-cli"), ["--home", bin, "--script", script, "--output", path, "--", ...files]);
    return path;
}

// The CSV script with its switch turned to UTF-8, as a player would turn it.
const csvScript = readFileSync(join(bin, "scripts/export-csv.tts"), "utf8");
if (!/^utf8 = 0$/m.test(csvScript)) {
    console.error("export-csv.tts: no line 'utf8 = 0' to switch");
    process.exit(1);
}
writeFileSync(join(work, "export-csv-utf8.tts"), csvScript.replace(/^utf8 = 0$/m, "utf8 = 1"));

const jsonl = exportWith(join(bin, "scripts/export-jsonl.tts"), "export.jsonl");
const csv = exportWith(join(work, "export-csv-utf8.tts"), "export.csv");
const cp932Csv = exportWith(join(bin, "scripts/export-csv.tts"), "export-cp932.csv");

// The totals, from the one-object JSON export and its cards table.
const data = JSON.parse(readFileSync(exportWith(join(bin, "scripts/export-json.tts"), "export.json"), "utf8"));
const sides = data.battles.flatMap((b) => [b.server, b.client]);
const sum = (values) => values.reduce((a, b) => a + b, 0);
const discards = sides.flatMap((s) => s.discardPile);
const known = {
    battles: data.battles.length,
    sides: sides.length,
    turns: sum(data.battles.map((b) => b.turns)),
    discards: discards.length,
    discardRarity: sum(discards.map((id) => data.cards[id].rarity)),
    hitPoints: sum(sides.map((s) => s.hitPoints)),
    // The header of the default, code page 932, file: the UTF-8 one keeps it.
    header: new TextDecoder("shift_jis").decode(readFileSync(cp932Csv)).split("\r\n")[0],
};

const instance = await DuckDBInstance.create(":memory:");
const db = await instance.connect();
const sql = (text) => `'${text.replaceAll("'", "''")}'`;
await db.run(`CREATE TABLE b AS SELECT * FROM read_json(${sql(jsonl)})`);
await db.run(`CREATE TABLE s AS SELECT * FROM read_csv(${sql(csv)})`);

// Each side of each battle from the JSON Lines, keyed as the CSV's rows are.
const jsonlSides = `(SELECT number, turns, 'サーバー' AS side, savedBy = 'server' AS mine, server AS p FROM b
    UNION ALL SELECT number, turns, 'クライアント', savedBy = 'client', client FROM b)`;

const checks = [
    ["JSON Lines: one row a battle", "SELECT count(*) FROM b", known.battles],
    ["JSON Lines: turns", "SELECT sum(turns) FROM b", known.turns],
    ["JSON Lines: discarded cards", "SELECT sum(len(server.discardPile) + len(client.discardPile)) FROM b", known.discards],
    ["JSON Lines: rarity of the discarded cards, from each line's own card objects",
        "SELECT sum(c.rarity) FROM (SELECT unnest(list_concat(server.discardPile, client.discardPile)) AS c FROM b)",
        known.discardRarity],
    ["CSV: one row a side", "SELECT count(*) FROM s", known.sides],
    ["CSV: hit points", 'SELECT sum("体力") FROM s', known.hitPoints],
    ["CSV: the header names, the byte-order mark not among them",
        "SELECT string_agg(column_name, ',' ORDER BY column_index) FROM duckdb_columns() WHERE table_name = 's'",
        known.header],
    ["both: every side agrees in both files",
        `SELECT count(*) FROM s JOIN ${jsonlSides} j ON s."番号" = j.number AND s."サイド" = j.side
         WHERE s."ターン数" = j.turns AND (s."自分の側" = 1) = j.mine AND s."マスター名" = j.p.player
           AND s."マスターカード" = j.p.master.name AND s."デッキ名" = j.p.deck.name AND s."体力" = j.p.hitPoints
           AND (s."先攻後攻" = '先攻') = j.p.first AND s."捨札枚数" = len(j.p.discardPile)`,
        known.sides],
];

const failures = [];
if (known.battles !== files.length) failures.push(`JSON: ${known.battles} battles of ${files.length} files`);
// One line a battle, ended by LF; the last by the CR LF the tool puts after every report.
const lines = readFileSync(jsonl, "utf8").replace(/\r\n$/, "").split("\n");
if (lines.length !== known.battles || lines.some((line) => line.includes("\r"))) {
    failures.push(`JSON Lines: ${lines.length} lines, or a CR inside`);
}
for (const [what, query, expected] of checks) {
    const got = (await db.runAndReadAll(query)).getRows()[0][0];
    const value = typeof got === "bigint" ? Number(got) : got;
    if (value !== expected) failures.push(`${what}: ${JSON.stringify(value)}, expected ${JSON.stringify(expected)}`);
}

if (failures.length > 0) {
    for (const failure of failures) console.error(failure);
    process.exit(1);
}
console.log(`exports in DuckDB: ${checks.length} checks hold (${known.battles} battles)`);
