// Runs the shipped report scripts over generated battles with awkward names and
// reads what they wrote back with independent tools: the HTML reports through
// html-validate (recommended rules), the CSV through csv-parse, the JSON through
// JSON.parse. Exits 0 when all hold, 1 on a failure, 77 when the checkers are
// not installed (tools/install-deps installs them).
//   node check-reports.mjs BIN_DIR WORK_DIR
import { execFileSync } from "node:child_process";
import { existsSync, mkdirSync, readFileSync, readdirSync, rmSync } from "node:fs";
import { join } from "node:path";

const [bin, work] = process.argv.slice(2);
if (!bin || !work) {
    console.error("usage: node check-reports.mjs BIN_DIR WORK_DIR");
    process.exit(2);
}

let HtmlValidate, parse;
try {
    ({ HtmlValidate } = await import("html-validate"));
    ({ parse } = await import("csv-parse/sync"));
} catch {
    console.log("html-validate or csv-parse is not installed: run tools/install-deps");
    process.exit(77);
}

const kBattles = 30;
// The names kvsgen --awkward-texts gives the server side of every third battle.
const kAwkwardName = 'カンマ,と"引用符"\r\n改行\t①髙～';
const kAwkwardDeck = "<b>&amp;\\デッキ</b>";

const failures = [];
function check(condition, what) {
    if (!condition) failures.push(what);
}

rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });
const battles = join(work, "battles");
execFileSync(join(bin, "kvsgen"), ["--seed", "12", "--count", String(kBattles), "--awkward-texts", "1", "--out", battles]);
const files = readdirSync(battles).sort().map((name) => join(battles, name));

// The report `script` writes over the battles, as bytes.
function report(script, output) {
    const path = join(work, output);
    execFileSync(join(bin, "mirudana-cli"), ["--home", bin, "--script", join(bin, script), "--output", path, "--", ...files]);
    return { path, bytes: readFileSync(path) };
}

// HTML: both pages pass the checker with no error and are UTF-8 with their charset.
const validator = new HtmlValidate({ extends: ["html-validate:recommended"] });
for (const [script, output] of [["engine.tts", "report.html"], ["scripts/statistics.tts", "statistics.html"]]) {
    const { path, bytes } = report(script, output);
    const text = new TextDecoder("utf-8", { fatal: true }).decode(bytes);
    check(text.includes('<meta charset="UTF-8">'), `${script}: no UTF-8 charset`);
    if (script === "engine.tts") {
        // The viewer's page: the facts as JSON in one script element with no "<"
        // inside, the awkward names back exactly as they were.
        const data = /<script type="application\/json" id="battles">([^<]*)<\/script>/.exec(text);
        check(data !== null, `${script}: no JSON data element without "<" inside`);
        const strings = data ? JSON.parse(data[1]).strings : [];
        check(strings.includes(kAwkwardDeck) && strings.includes(kAwkwardName), `${script}: the awkward names are not kept`);
        check(text.includes("Content-Security-Policy\" content=\"default-src 'none';"), `${script}: no policy forbidding requests`);
    } else {
        check(text.includes("&lt;b&gt;&amp;amp;\\デッキ&lt;/b&gt;"), `${script}: the deck name is not escaped once`);
    }
    const result = await validator.validateFile(path);
    for (const message of result.results.flatMap((r) => r.messages)) {
        failures.push(`${script}:${message.line}:${message.column}: ${message.ruleId}: ${message.message}`);
    }
}

// CSV: code page 932, a header and one row per side, every row as wide as the
// header, and the awkward names back exactly as they were.
{
    const { bytes } = report("scripts/export-csv.tts", "export.csv");
    const rows = parse(new TextDecoder("shift_jis").decode(bytes), { record_delimiter: "\r\n" });
    check(rows.length === 1 + 2 * kBattles, `CSV: ${rows.length} rows`);
    const header = rows[0];
    check(rows.every((row) => row.length === header.length), "CSV: rows of different widths");
    const column = (name) => header.indexOf(name);
    for (let battle = 3; battle <= kBattles; battle += 3) {
        const server = rows[2 * battle - 1];
        check(server[column("マスター名")] === kAwkwardName, `CSV: battle ${battle} player name`);
        check(server[column("デッキ名")] === kAwkwardDeck, `CSV: battle ${battle} deck name`);
        check(server[column("番号")] === String(battle), `CSV: battle ${battle} number`);
    }
}

// JSON: UTF-8 without a byte-order mark, one object per battle with both sides.
{
    const { bytes } = report("scripts/export-json.tts", "export.json");
    check(bytes[0] === 0x7b, "JSON: does not start with {");
    const data = JSON.parse(new TextDecoder("utf-8", { fatal: true }).decode(bytes));
    check(data.battles.length === kBattles, `JSON: ${data.battles.length} battles`);
    for (const battle of data.battles) {
        for (const side of [battle.server, battle.client]) {
            check(Array.isArray(side.discardPile) && Array.isArray(side.monsters), `JSON: battle ${battle.number} side`);
            for (const id of side.discardPile) check(id in data.cards, `JSON: card ${id} not listed`);
        }
    }
    check(data.battles[2].server.player === kAwkwardName, "JSON: the awkward player name");
    check(data.battles[2].server.deck.name === kAwkwardDeck, "JSON: the awkward deck name");
}

if (failures.length > 0) {
    for (const failure of failures) console.error(failure);
    process.exit(1);
}
console.log(`report scripts: all outputs hold (${kBattles} battles)`);
