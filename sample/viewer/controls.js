"use strict";
// The filter controls: the period, the choices of names, the search, and the list
// of active filters, each removable. Drawn with createElement only.
(function (viewer) {
    const h = viewer.h;
    const SELECTS = [
        { key: "master", label: "マスターカード", value: (b) => b.me.master },
        { key: "deck", label: "デッキ", value: (b) => b.me.deck },
        { key: "opp", label: "相手", value: (b) => b.them.name },
        { key: "oppmaster", label: "相手のマスターカード", value: (b) => b.them.master },
    ];
    const FILTER_LABELS = {
        from: "から", to: "まで", master: "マスターカード", deck: "デッキ", opp: "相手",
        oppmaster: "相手のマスターカード", order: "先後", q: "検索",
    };

    // The values of one field over all battles, most frequent first.
    function choices(battles, value) {
        const counts = new Map();
        for (const b of battles) counts.set(value(b), (counts.get(value(b)) ?? 0) + 1);
        counts.delete("");
        return [...counts].sort((a, b) => b[1] - a[1] || (a[0] < b[0] ? -1 : 1));
    }

    function field(label, id, control) {
        return h("div", { class: "field" }, h("label", { for: id }, label), control);
    }

    // The filter controls; the selects hold only "すべて" until fillChoices(), as
    // counting the choices is most of the controls' cost at 20,000 battles. (The
    // period's date fields are made at once: plain fields there instead made
    // Chromium parse the rest of a large page in many more, slower pieces.)
    // Folded, only the heading's button and the active filters show: a phone's
    // first screen then shows the battles rather than only the controls.
    viewer.drawFilterControls = function (folded) {
        const selects = SELECTS.map((s) => field(s.label, `f-${s.key}`,
            h("select", { id: `f-${s.key}`, "data-filter": s.key }, h("option", { value: "" }, "すべて"))));
        return h("section", { class: "panel filters", "aria-labelledby": "filters-title" },
            h("h2", { id: "filters-title" }, h("button", {
                type: "button", class: "fold", id: "filters-fold", "data-fold": "",
                "aria-expanded": String(!folded), "aria-controls": "filter-controls",
            }, "絞り込み")),
            h("div", { class: "controls", id: "filter-controls", hidden: folded }, 
                h("fieldset", { class: "period" }, h("legend", null, "期間（保存日時）"),
                    field("から", "f-from", h("input", { type: "date", id: "f-from", "data-filter": "from" })),
                    field("まで", "f-to", h("input", { type: "date", id: "f-to", "data-filter": "to" })),
                    h("div", { class: "quick" },
                        h("button", { type: "button", "data-days": "7" }, "最近 7 日"),
                        h("button", { type: "button", "data-days": "30" }, "最近 30 日"))),
                ...selects,
                field("先攻・後攻", "f-order", h("select", { id: "f-order", "data-filter": "order" },
                    h("option", { value: "" }, "すべて"), viewer.ORDERS.map((o) => h("option", { value: o }, o)))),
                field("検索（ファイル名・デッキ・相手）", "f-q",
                    h("input", { type: "search", id: "f-q", "data-filter": "q", autocomplete: "off" }))),
            h("div", { class: "active", id: "active-filters", "aria-live": "polite" }));
    };

    // Shows or hides the controls under the heading's `button`.
    viewer.foldFilters = function (button, folded) {
        button.setAttribute("aria-expanded", String(!folded));
        document.getElementById(button.getAttribute("aria-controls")).hidden = folded;
    };

    // The focus for a filter's field after a change made elsewhere: the field, or
    // the heading's button while the controls are folded away.
    viewer.focusFilterField = function (key) {
        const fold = document.getElementById("filters-fold");
        (fold.getAttribute("aria-expanded") === "true" ? document.getElementById(`f-${key}`) : fold).focus();
    };

    // Adds to the selects in `controls` the values found over `battles`, each with
    // its count; once.
    viewer.fillChoices = function (controls, battles) {
        for (const s of SELECTS) {
            controls.querySelector(`#f-${s.key}`).append(...choices(battles, s.value)
                .map(([v, n]) => h("option", { value: v }, `${v}（${n}）`)));
        }
    };

    // The active filters in `container`: one button each to remove it, and one to
    // clear them all.
    viewer.drawActiveFilters = function (container, filter) {
        const keys = viewer.FILTER_KEYS.filter((key) => viewer.isActive(filter, key));
        container.replaceChildren(...(keys.length === 0 ? [h("span", { class: "none" }, "絞り込みなし")] : [
            h("span", { class: "label" }, "適用中:"),
            ...keys.map((key) => h("button", {
                type: "button", class: "chip", "data-remove": key,
                "aria-label": `${FILTER_LABELS[key]} ${filter[key]} を外す`,
            }, `${FILTER_LABELS[key]}: ${filter[key]}`, h("span", { "aria-hidden": "true" }, " ×"))),
            h("button", { type: "button", class: "clear", "data-clear": "" }, "すべて解除"),
        ]));
    };
})(globalThis.viewer ??= {});
