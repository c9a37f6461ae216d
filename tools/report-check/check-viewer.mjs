// Opens the default report (engine.tts) in headless Chromium and uses it as a
// player would: filters through the page's own controls and through the address's
// fragment, counts and shares checked against totals computed here from the CSV
// export of the same battles (the statistics scrolled to, as they are drawn when
// they come near the window), a battle's details opened, hostile names shown as
// written with no script run, no request made and no console error, and an
// accessibility audit (axe-core) at 1280 and 390 px, light and dark.
// Exits 0 when all hold, 1 on a failure, 77 when Chromium or the checkers are
// not installed (tools/install-deps test installs them).
//   node check-viewer.mjs BIN_DIR WORK_DIR HOSTILE_BATTLES_PROGRAM
import { execFileSync } from "node:child_process";
import { cpSync, existsSync, mkdirSync, readFileSync, readdirSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

const [bin, work, hostileProgram] = process.argv.slice(2);
if (!bin || !work || !hostileProgram) {
    console.error("usage: node check-viewer.mjs BIN_DIR WORK_DIR HOSTILE_BATTLES_PROGRAM");
    process.exit(2);
}
const chromium = process.env.CHROMIUM ?? "/usr/bin/chromium";
let puppeteer, parse, axeSource;
try {
    puppeteer = (await import("puppeteer-core")).default;
    ({ parse } = await import("csv-parse/sync"));
    axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
} catch {
    console.log("puppeteer-core, axe-core or csv-parse is not installed: run tools/install-deps test");
    process.exit(77);
}
if (!existsSync(chromium)) {
    console.log(`${chromium} is not installed: run tools/install-deps test`);
    process.exit(77);
}

const failures = [];
function check(condition, what) {
    if (!condition) failures.push(what);
}

// ---- the battles, the report and the CSV export of the same battles ----

rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });
const home = join(work, "home");
cpSync(join(bin, "system"), join(home, "system"), { recursive: true, dereference: true });
execFileSync(hostileProgram, [work]);
cpSync(join(work, "hostile.kvl"), join(home, "system", "cards", "hostile.kvl"));
const battles = join(work, "battles");
execFileSync(join(bin, "kvsgen"), ["--seed", "3", "--count", "150", "--out", battles]);
const files = readdirSync(battles).sort().map((name) => join(battles, name));
const hostileCount = files.filter((f) => f.includes("hostile-")).length;

function run(script, output) {
    const path = join(work, output);
    execFileSync(join(bin, "mirudana-cli"), ["--home", home, "--script", join(bin, script), "--output", path, "--", ...files]);
    return path;
}
const report = run("engine.tts", "report.html");
const csv = parse(new TextDecoder("shift_jis").decode(readFileSync(run("scripts/export-csv.tts", "export.csv"))),
    { record_delimiter: "\r\n", columns: true });

// One battle per file, seen from the side that saved it.
const expected = [];
for (const row of csv) {
    const battle = (expected[Number(row["番号"]) - 1] ??= { file: row["ファイル名"], date: row["日時"].slice(0, 10).replaceAll("/", "-") });
    battle[row["自分の側"] === "1" ? "me" : "them"] = {
        name: row["マスター名"], master: row["マスターカード"], deck: row["デッキ名"], hp: Number(row["体力"]), order: row["先攻後攻"],
        hand: row["手札"], handCount: row["手札枚数"],
    };
}
const total = expected.length;
const mostCommon = (values) => {
    const counts = new Map();
    for (const v of values) counts.set(v, (counts.get(v) ?? 0) + 1);
    return [...counts].sort((a, b) => b[1] - a[1])[0][0];
};
// The page's clock is fixed to a day inside the battles' period.
const dates = expected.map((b) => b.date).sort();
const today = dates[Math.floor(dates.length * 0.8)];
const weekAgo = new Date(`${today}T00:00:00Z`);
weekAgo.setUTCDate(weekAgo.getUTCDate() - 6);
const lastWeek = (b) => b.date >= weekAgo.toISOString().slice(0, 10) && b.date <= today;

// ---- the browser ----

const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
        "--disable-component-update", "--disable-sync"],
});
const reportUrl = pathToFileURL(report).href;
const page = await browser.newPage();
page.on("console", (m) => check(m.type() !== "error" && m.type() !== "warn", `console ${m.type()}: ${m.text()}`));
page.on("pageerror", (e) => failures.push(`page error: ${e.message}`));
// The browser's own controls draw their icons from data: addresses; anything else
// but the report itself is a request the page should not make.
page.on("request", (r) => check(r.url() === reportUrl || r.url().startsWith("data:"), `request: ${r.url()}`));
await page.evaluateOnNewDocument((iso) => {
    const fixed = new Date(`${iso}T12:00:00`).getTime();
    const RealDate = Date;
    globalThis.Date = class extends RealDate {
        constructor(...args) {
            super(...(args.length === 0 ? [fixed] : args));
        }
        static now() {
            return fixed;
        }
    };
}, today);
await page.setViewport({ width: 1280, height: 900 });
// The page opened at `url`, whole: the first screen comes first, the list's other
// rows a moment later and then the statistics are watched (aria-busy till then);
// the selects get their choices when reached.
async function open(url) {
    await page.goto(url);
    await page.waitForSelector('#statistics[aria-busy="false"]', { timeout: 5000 });
}
await open(reportUrl);
// The first screen draws a few rows, the rest of the list's 50 follow.
check(await page.$eval("#battle-rows", (rows) => rows.children.length) === 50, "the list's first page is whole once shown");
// 次へ pressed twice from the keyboard goes two pages on.
await page.focus('.pager [data-page="1"]:not([disabled])');
await page.keyboard.press("Enter");
await page.keyboard.press("Enter");
check((await page.$eval(".pager span", (s) => s.textContent)).includes("（3 / "), "次へ twice from the keyboard");
// Each sort button has a name of its own for a screen reader.
const sortNames = await page.$$eval("button.sort", (buttons) => buttons.map((b) => b.textContent));
check(new Set(sortNames).size === sortNames.length, `sort buttons named alike: ${sortNames}`);
// The jump to the statistics, far below the list on a phone: their heading at the
// window's top, with the focus.
await page.click('[data-jump="stats-title"]');
check(await page.evaluate(() => document.activeElement?.id === "stats-title" &&
    Math.abs(document.activeElement.getBoundingClientRect().top) < 2), "the jump to the statistics");
// Tab from there goes on into the statistics once drawn (Chromium sent it back to the
// page's top while the panels had content-visibility).
await page.waitForSelector("#statistics .grid");
await page.keyboard.press("Tab");
check(await page.evaluate(() => document.activeElement.closest("#statistics") !== null),
    `Tab after the jump to the statistics: ${await page.evaluate(() => document.activeElement.outerHTML.slice(0, 60))}`);

const title = () => page.title();
const countOf = (selected) => `${selected.length} / ${total} 戦`;
// The statistics are drawn as they come near the window: each panel scrolled to,
// then the region no longer busy.
async function seeStatistics() {
    await page.evaluate(async () => {
        for (const panel of document.getElementById("statistics").children) {
            panel.scrollIntoView();
            await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
        }
    });
    await page.waitForSelector('#statistics[aria-busy="false"]', { timeout: 10000 });
}
// The row of a statistics table whose name cell is `name`: its cells' texts.
async function tableRow(heading, name) {
    await seeStatistics();
    return page.evaluate((heading, name) => {
        const section = [...document.querySelectorAll("section.stat")].find((s) => s.querySelector("h3")?.textContent === heading);
        const row = [...(section?.querySelectorAll("tbody tr") ?? [])].find((r) => r.querySelector("th")?.textContent === name);
        return row ? [...row.querySelectorAll("td")].map((td) => td.textContent) : null;
    }, heading, name);
}
const sharePercent = (selected) => `${Math.round((selected.filter((b) => b.me.hp > b.them.hp).length * 100) / selected.length)}%`;

check((await title()).startsWith(`${total} 戦`), `title without a filter: ${await title()}`);

// Through the controls: the player's most common deck, then going first.
const deck = mostCommon(expected.map((b) => b.me.deck));
await page.focus("#f-deck");
await page.select("#f-deck", deck);
let selected = expected.filter((b) => b.me.deck === deck);
check((await title()).startsWith(countOf(selected)), `deck filter: ${await title()}, expected ${countOf(selected)}`);
const deckRow = await tableRow("デッキ別（自分）", deck);
check(deckRow?.[0].startsWith(String(selected.length)), `deck row battles: ${deckRow}`);
check(deckRow?.[3].startsWith(`${sharePercent(selected)}（${selected.length} 戦）`), `deck row share: ${deckRow}, expected ${sharePercent(selected)}`);
await page.select("#f-order", "先攻");
selected = selected.filter((b) => b.me.order === "先攻");
check((await title()).startsWith(countOf(selected)), `deck and order: ${await title()}, expected ${countOf(selected)}`);
check(decodeURIComponent(new URL(page.url()).hash) === `#deck=${deck}&order=先攻`, `fragment: ${page.url()}`);
check(await page.$$eval("#active-filters .chip", (c) => c.length) === 2, "two active filters shown");

// Removing one filter, then the last seven days counted back from the fixed today.
await page.click('#active-filters [data-remove="order"]');
check((await title()).startsWith(countOf(expected.filter((b) => b.me.deck === deck))), "order removed");
await page.click('[data-days="7"]');
selected = expected.filter((b) => b.me.deck === deck && lastWeek(b));
check((await title()).startsWith(countOf(selected)), `last 7 days: ${await title()}, expected ${countOf(selected)}`);
await page.click("#active-filters [data-clear]");
check((await title()).startsWith(`${total} 戦`) && !(await title()).includes("/"), `clear all: ${await title()}`);

// Through the fragment: the most common opponent and their master card.
const opponent = mostCommon(expected.map((b) => b.them.name));
selected = expected.filter((b) => b.them.name === opponent);
const theirMaster = mostCommon(selected.map((b) => b.them.master));
await page.evaluate((hash) => { location.hash = hash; }, `opp=${encodeURIComponent(opponent)}`);
await page.waitForFunction((t) => document.title.startsWith(t), { timeout: 5000 }, countOf(selected)).catch(() => {});
check((await title()).startsWith(countOf(selected)), `opponent by fragment: ${await title()}, expected ${countOf(selected)}`);
const opponentRow = await tableRow("相手別", opponent);
check(opponentRow?.[3].startsWith(`${sharePercent(selected)}（${selected.length} 戦）`), `opponent share: ${opponentRow}`);
check(await page.$eval("#f-opp", (s) => s.value) === opponent, "the opponent's control follows the fragment");
selected = selected.filter((b) => b.them.master === theirMaster);
await open(`${reportUrl}#opp=${encodeURIComponent(opponent)}&oppmaster=${encodeURIComponent(theirMaster)}`);
check((await title()).startsWith(countOf(selected)), `opening with a fragment: ${await title()}, expected ${countOf(selected)}`);
// A name no battle has is shown while filtered by, and no choice once removed.
await open(`${reportUrl}#deck=nosuch`);
const absent = async () => page.$$eval("#f-deck option", (o) => o.filter((x) => x.value === "nosuch").length);
check(await absent() === 1 && await page.$eval("#f-deck", (s) => s.value) === "nosuch", "a deck no battle has, shown");
await page.click('#active-filters [data-remove="deck"]');
check(await absent() === 0, "a deck no battle has stays a choice once its filter is removed");

// The search, typed: file names.
await open(reportUrl);
await page.type("#f-q", "battle-01");
selected = expected.filter((b) => b.file.toLowerCase().includes("battle-01") || b.me.deck.includes("battle-01") ||
    b.them.name.includes("battle-01") || b.them.deck.includes("battle-01"));
check((await title()).startsWith(countOf(selected)), `search: ${await title()}, expected ${countOf(selected)}`);
// Back undoes the search as a whole.
await page.goBack();
check(await page.waitForFunction((t) => document.title.startsWith(t) && document.getElementById("f-q").value === "",
    { timeout: 2000 }, `${total} 戦 —`).then(() => true, () => false), `back after a search: ${await title()}`);

// A battle's details, drawn when opened: a hidden hand gives its count only.
const hidden = Math.max(0, expected.findIndex((b) => b.me.hand === "非公開"));
const opened = expected[hidden];
await open(`${reportUrl}#q=${encodeURIComponent(opened.file)}`);
await page.click("#battle-rows button.open");
const details = await page.$eval(`#battle-${hidden + 1}`, (row) => row.textContent).catch(() => "");
check(details.includes(opened.me.name) && details.includes(opened.them.name) &&
    (opened.me.hand !== "非公開" || details.includes(`非公開（${opened.me.handCount} 枚）`)), `battle ${hidden + 1}'s details`);

// The hostile names: drawn as text, no element made of them, no script run.
await open(`${reportUrl}#q=hostile`);
check((await title()).startsWith(`${hostileCount} / ${total} 戦`), `hostile battles: ${await title()}`);
await page.$$eval("#battle-rows button.open", (buttons) => buttons.forEach((b) => b.click()));
const shown = await page.evaluate(() => ({
    hostile: globalThis.hostile,
    images: document.querySelectorAll("img").length,
    scripts: document.querySelectorAll("script").length,
    text: document.body.textContent,
}));
check(shown.hostile === undefined && shown.images === 0 && shown.scripts === 1, `hostile names ran: ${JSON.stringify({ ...shown, text: undefined })}`);
for (const name of ["</script><script>window.hostile=1</script>", '"><img src=x onerror=window.hostile=2>',
    "<img src=x onerror=window.hostile=3>", "長".repeat(1000)]) {
    check(shown.text.includes(name), `hostile name not shown as written: ${name.slice(0, 40)}`);
}
// A 1,000-letter name leaves the list's other names readable widths.
const narrowest = await page.$$eval("#battle-rows > tr > td.name", (cells) => Math.min(...cells.map((c) => c.offsetWidth)));
check(narrowest >= 50, `a long name squeezes the list's other names to ${narrowest} px`);
// On a phone, nor the statistics' headings of figures.
await page.setViewport({ width: 390, height: 900 });
await seeStatistics();
const figures = await page.$$eval("#statistics .group th.num", (cells) => Math.min(...cells.map((c) => c.offsetWidth)));
check(figures >= 40, `a long name squeezes the statistics' headings to ${figures} px at 390 px`);
// A phone opens with the filters folded and their chips shown; the heading unfolds them,
// and a chip removed while folded leaves the focus on the heading.
await page.goto("about:blank");
await open(reportUrl);
await page.evaluate(() => { location.hash = "order=後攻&deck=x"; });
const folded = await page.evaluate(() => [document.getElementById("filter-controls").hidden,
    document.querySelectorAll("#active-filters .chip").length]);
await page.click('[data-remove="deck"]');
const focusedWhenFolded = await page.evaluate(() => document.activeElement.id);
await page.click("#filters-fold");
const unfolded = await page.$eval("#f-order", (s) => s.checkVisibility() && s.value);
check(`${folded}` === "true,2" && focusedWhenFolded === "filters-fold" && unfolded === "後攻",
    `folded filters on a phone: ${folded}, focus ${focusedWhenFolded}, unfolded ${unfolded}`);
await page.setViewport({ width: 1280, height: 900 });
// Texts a battle file cannot carry, through the drawing code.
const odd = await page.evaluate(() => {
    const text = "a\u2028b\u2029c\ud800d";
    const data = viewer.readData(JSON.stringify({ strings: [text], battles: ["f", "", 1, "2", 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1] }));
    const tables = viewer.readCardTables(JSON.stringify({ cards: [["x", text, 0]] }));
    viewer.sidesReader('[\n[[0,"",[0]],[0]]\n]', data.battles, tables).read(1);
    return viewer.drawDetails(data.battles[0], tables).textContent.split(text).length - 1;
});
// Five texts on the player's side (name, master, deck, phase, hand), three on the other.
check(odd === 8, `U+2028, U+2029 and a lone surrogate drawn as they are: ${odd}`);

// Years of weekly battles: the chart keeps a readable height and opens at its latest weeks.
const longChart = await page.evaluate(() => {
    const weeks = Array.from({ length: 300 }, (_, i) => ({
        week: new Date(Date.UTC(2020, 0, 6 + 7 * i)).toISOString().slice(0, 10), lead: viewer.share(i % 5, 5),
    }));
    const section = viewer.drawWeeks(weeks);
    document.getElementById("statistics").append(section);
    const chart = section.querySelector(".chart").getBoundingClientRect();
    const latest = [...section.querySelectorAll("rect.count")].at(-1).getBoundingClientRect();
    section.remove();
    return { height: Math.round(chart.height), latestInView: latest.left >= chart.left && latest.right <= chart.right };
});
check(longChart.height >= 120 && longChart.latestInView, `300 weeks' chart: ${JSON.stringify(longChart)}`);

// The accessibility audit with a filter active and a battle open, light and dark.
for (const width of [1280, 390]) {
    for (const scheme of ["light", "dark"]) {
        await page.setViewport({ width, height: 900 });
        await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
        await open(`${reportUrl}#order=${encodeURIComponent("後攻")}`);
        await page.click("#battle-rows button.open");
        await seeStatistics();
        await page.evaluate(axeSource);
        const result = await page.evaluate(() => axe.run(document, { runOnly: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"] }));
        for (const v of result.violations) {
            failures.push(`axe ${width}px ${scheme}: ${v.id}: ${v.help} (${v.nodes.slice(0, 3).map((n) => n.target.join(" ")).join("; ")})`);
        }
        const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
        check(overflow <= 0, `${width}px ${scheme}: the page is ${overflow} px wider than the window`);
    }
}
// Paper takes the light colours though the system is dark.
// (Puppeteer's own calls each clear the other's emulation.)
await (await page.createCDPSession()).send("Emulation.setEmulatedMedia",
    { media: "print", features: [{ name: "prefers-color-scheme", value: "dark" }] });
const paperInk = await page.evaluate(() => getComputedStyle(document.body).color);
check(paperInk === "rgb(28, 33, 48)", `printed in dark mode, the text is ${paperInk}`);
await browser.close();

if (failures.length > 0) {
    for (const failure of failures) console.error(failure);
    process.exit(1);
}
console.log(`report viewer: all checks hold (${total} battles)`);
